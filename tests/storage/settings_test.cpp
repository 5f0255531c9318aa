#include "storage/settings.h"
#include "storage/file_io.h"

#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

const char* const kSixSections = "[Dialog]\r\n[Taxe]\r\n[Currency]\r\n[Memory]\r\n[Calcul]\r\n[Windows]\r\n";

class SettingsTest : public TempDirTest {
protected:
    SettingsFile File(const std::string& bytes) { return SettingsFile(WriteBytes("DEVICAL.INI", bytes)); }
};

TEST_F(SettingsTest, EmptySectionsGiveTheDefaults) {
    const Settings s = File(kSixSections).Read(',').values;
    EXPECT_EQ(s.netTitle, "");
    EXPECT_EQ(s.grossTitle, "");
    EXPECT_EQ(s.tax.title, "Taxe");
    EXPECT_EQ(s.tax.rate, 0);
    EXPECT_EQ(s.currency.title, "Francs");
    EXPECT_EQ(s.currency.rate, 1);
    EXPECT_EQ(s.memory.title, "");
    EXPECT_EQ(s.memory.nationalAmount, "0");
    EXPECT_EQ(s.memory.euroAmount, "0");
    EXPECT_EQ(s.decimals, "2");
    EXPECT_EQ(s.sizeLevel, 1);
    EXPECT_EQ(s.boxUnderEntry, 1);
}

TEST_F(SettingsTest, ReadsStoredValuesWithEitherSeparator) {
    const Settings s =
        File(
            "[Dialog]\r\nLib_HT=Net\r\nLib_TTC=Brut\r\n[Taxe]\r\nTitle=TVA\r\nRate=20.6\r\n"
            "[Currency]\r\nTitle=FRF Franc\r\nRate=6,55957\r\n[Memory]\r\nTitle=DEM Caisse\r\n"
            "Curr=1.5\r\nEuro=0,77\r\n[Calcul]\r\nNb_Dec=x\r\n[Windows]\r\nSize=5\r\nCaseEnSaisie=+7\r\n")
            .Read(',')
            .values;
    EXPECT_EQ(s.netTitle, "Net");
    EXPECT_EQ(s.grossTitle, "Brut");
    EXPECT_EQ(s.tax.title, "TVA");
    EXPECT_EQ(engine::AmountText(s.tax.rate, ','), "20,6");
    EXPECT_EQ(engine::AmountText(s.currency.rate, ','), "6,55957");
    EXPECT_EQ(s.memory.title, "DEM Caisse");
    EXPECT_EQ(s.memory.nationalAmount, "1,5");
    EXPECT_EQ(s.memory.euroAmount, "0,77");
    EXPECT_EQ(s.decimals, "x");
    EXPECT_EQ(s.sizeLevel, 3);      // held within 1..3
    EXPECT_EQ(s.boxUnderEntry, 7);  // a leading "+" is allowed; the window ignores 7
}

TEST_F(SettingsTest, UnusableValuesFallBackToTheirDefaultsAndSayWhere) {
    const auto reading = File(
                             "[Taxe]\r\nRate=vingt\r\n[Currency]\r\nTitle=DEM Mark\r\nRate=abc\r\n"
                             "[Calcul]\r\nNb_Dec=deux\r\n[Windows]\r\nSize=grand\r\nCaseEnSaisie=zz\r\n")
                             .Read(',');
    const std::string file = Path("DEVICAL.INI").string();
    EXPECT_EQ(
        reading.problems,
        (std::vector<std::string>{
            "'vingt' n'est pas une valeur flottante correcte\nFichier " + file + ", section [Taxe], clé Rate",
            "'abc' n'est pas une valeur flottante correcte\nFichier " + file + ", section [Currency], clé Rate",
            "'grand' n'est pas une valeur entière correcte\nFichier " + file + ", section [Windows], clé Size",
            "'zz' n'est pas une valeur entière correcte\nFichier " + file + ", section [Windows], clé CaseEnSaisie",
        }));
    const Settings& s = reading.values;
    EXPECT_EQ(s.tax.rate, 0);
    EXPECT_EQ(s.currency.title, "DEM Mark");  // the keys beside a bad one still read
    EXPECT_EQ(s.currency.rate, 1);
    EXPECT_EQ(s.decimals, "2");  // a meaningless decimals setting falls back without a word
    EXPECT_EQ(s.sizeLevel, 1);
    EXPECT_EQ(s.boxUnderEntry, 1);
}

// One action's keys (a box chosen twice keeps the last) land in place in one rewrite: a kill
// can never leave a currency's title with another's rate.
TEST_F(SettingsTest, OneActionsKeysAreStoredInPlaceInOneRewrite) {
    const auto file = File(kSixSections);
    SettingsChanges changes;
    changes.Currency("FRF Franc français", "6,55957");
    changes.BoxUnderEntry(2);
    changes.SizeLevel(3);
    changes.BoxUnderEntry(4);
    changes.Memory(" ", "0", "0");
    changes.Decimals("3");
    static int renames = 0;
    SetFileStepObserver([](FileStep step, const std::filesystem::path&) { renames += step == FileStep::Rename; });
    file.Write(changes);
    file.Write(changes);  // the same again: nothing to rewrite
    SetFileStepObserver(nullptr);
    EXPECT_EQ(renames, 1);
    EXPECT_EQ(
        Bytes("DEVICAL.INI"),
        "[Dialog]\r\n[Taxe]\r\n[Currency]\r\nTitle=FRF Franc fran\xe7"
        "ais\r\nRate=6,55957\r\n"
        "[Memory]\r\nTitle= \r\nCurr=0\r\nEuro=0\r\n[Calcul]\r\nNb_Dec=3\r\n[Windows]\r\nCaseEnSaisie=4\r\nSize=3\r\n");
    const Settings s = file.Read(',').values;
    EXPECT_EQ(s.currency.title, "FRF Franc français");
    EXPECT_EQ(s.sizeLevel, 3);
    EXPECT_EQ(s.boxUnderEntry, 4);
    EXPECT_EQ(s.decimals, "3");
}

TEST_F(SettingsTest, EachTitleGoesToItsOwnKey) {
    const auto file = File(kSixSections);
    file.WriteOne([](SettingsChanges& changes) {
        changes.Title(TitleTarget::Net, "Net");
        changes.Title(TitleTarget::Gross, "Brut");
        changes.Title(TitleTarget::Memory, "DEM Tiroir");
    });
    const Settings s = file.Read(',').values;
    EXPECT_EQ(s.netTitle, "Net");
    EXPECT_EQ(s.grossTitle, "Brut");
    EXPECT_EQ(s.memory.title, "DEM Tiroir");
}

TEST_F(SettingsTest, AMissingSectionIsAddedSoThatTheChoiceIsKept) {
    const auto file = File("[Dialog]\r\n");
    file.WriteOne([](SettingsChanges& changes) {
        changes.SizeLevel(3);
        changes.BoxUnderEntry(4);
    });
    EXPECT_EQ(Bytes("DEVICAL.INI"), "[Dialog]\r\n[Windows]\r\nSize=3\r\nCaseEnSaisie=4\r\n");
    EXPECT_EQ(file.Read(',').values.sizeLevel, 3);
}

}  // namespace
}  // namespace devical::storage::testing
