// The activation step with no window: the settings into the calculator in their order, the
// first clear, and the re-evaluations after a rate or tax change.
#include "storage/activation.h"

#include "../engine/keypad.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

using Boxes = std::array<std::string, 6>;
using engine::testing::Keypad;

const char* const kFrancs =
    "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n"
    "[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=7\r\n"
    "Euro=1,07\r\n[Calcul]\r\nNb_Dec=2\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

class ActivationTest : public TempDirTest {
protected:
    // The settings file as another window left it, and the activation that follows.
    engine::EngineOutcome Activate(Keypad& pad, const std::string& bytes) {
        const SettingsFile file(WriteBytes("DEVICAL.INI", bytes));
        return ApplySettings(pad.state, pad.context, file.Read(',').values, file);
    }
    std::string Stored(std::string_view section, std::string_view key) {
        return IniRead(Path("DEVICAL.INI"), section, key, "");
    }
    static std::string With(std::string bytes, const std::string& from, const std::string& to) {
        return bytes.replace(bytes.find(from), from.size(), to);
    }
    // A window that has been activated once and has 100 francs net converted.
    Keypad Started() {
        Keypad pad;
        Activate(pad, kFrancs);
        pad.Press("100=");
        return pad;
    }
};

TEST_F(ActivationTest, BringsEverySettingIntoTheCalculator) {
    Keypad pad;
    const engine::EngineOutcome outcome = Activate(pad, kFrancs);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(pad.context.netCaption, "Montant HT");
    EXPECT_EQ(pad.context.taxTitle, "TVA");
    EXPECT_EQ(pad.context.taxCaption, "TVA (20,6 %)");
    EXPECT_EQ(pad.context.currencyTitle, "FRF Franc français");
    EXPECT_EQ(engine::AmountText(pad.state.CurrencyRate, ','), "6,55957");
    EXPECT_EQ(engine::StoredTitle(pad.state.Memory), "FRF Caisse");
    EXPECT_EQ(pad.state.Memory.National, "7");
    EXPECT_EQ(pad.state.Memory.Euro, "1,07");
    pad.Press("100=");
    EXPECT_EQ(pad.state.DeviationReport,
              "Ecarts de conversion (Centimes)\n\nMontant HT = -3\nTVA (20,6 %) = 0\nMontant TTC = +3\n");
}

TEST_F(ActivationTest, OnlyTheFirstActivationClearsTheBoxes) {
    Keypad pad = Started();
    pad.state.Boxes[0] = "12";
    Activate(pad, kFrancs);
    EXPECT_EQ(pad.Box(1), "12");

    Keypad fresh;
    fresh.state.Boxes[0] = "12";
    Activate(fresh, kFrancs);
    EXPECT_EQ(fresh.state.Boxes, Boxes({"0", "0", "0", "0", "0", "0"}));
}

TEST_F(ActivationTest, ANewRateKeepsTheEurosAndRecomputesTheNationalAmounts) {
    struct Row {
        int box;
        Boxes shown;
        const char* clipboard;
    };
    const Row rows[] = {
        {1, {"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}, "29,81"},
        {2, {"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}, "29,81"},
        {5, {"29,83", "15,25", "6,14", "3,14", "35,97", "18,39"}, "35,97"},  // from the gross row's euros
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        Keypad pad = Started();
        pad.Select(engine::RowOf(row.box), engine::ColumnOf(row.box));
        pad.state.CurrencyChanged = true;
        const std::string marks = With(With(With(kFrancs,
                                                 "FRF Franc fran\xe7"
                                                 "ais",
                                                 "DEM Mark"),
                                            "6,55957", "1,95583"),
                                       "CaseEnSaisie=1", "CaseEnSaisie=" + std::to_string(row.box));
        const engine::EngineOutcome outcome = Activate(pad, marks);
        EXPECT_EQ(pad.state.Boxes, row.shown);
        EXPECT_EQ(outcome.clipboardText, row.clipboard);
        EXPECT_EQ(pad.state.BoxUnderEntry, row.box);
        EXPECT_FALSE(pad.state.CurrencyChanged);
        EXPECT_EQ(Stored("Windows", "CaseEnSaisie"), std::to_string(row.box));
    }
}

TEST_F(ActivationTest, ANewTaxRateIsCarriedIntoTheColumn) {
    Keypad pad = Started();
    pad.state.TaxChanged = true;
    const engine::EngineOutcome outcome = Activate(pad, With(kFrancs, "Rate=20,6", "Rate=5,5"));
    EXPECT_EQ(pad.state.Boxes, Boxes({"100", "15,24", "5,5", "0,84", "105,5", "16,08"}));
    EXPECT_EQ(outcome.clipboardText, "15,24");
    EXPECT_FALSE(pad.state.TaxChanged);
    EXPECT_EQ(pad.context.taxCaption, "TVA (5,5 %)");
}

TEST_F(ActivationTest, TheStoredBoxComesAfterTheSizeLevelAndMayEnlargeTheWindow) {
    struct Row {
        const char* size;
        const char* box;
        int level, boxUnderEntry;
        const char* storedSize;
    };
    const Row rows[] = {
        {"3", "4", 2, 4, "2"},  // the tax row is hidden at level 3: the window grows to show it
        {"3", "2", 3, 2, "3"}, {"2", "5", 2, 5, "2"}, {"1", "6", 1, 6, "1"},  // the last box too
        {"3", "9", 3, 1, "3"},                                                // a box out of range chooses nothing
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.size) + "/" + row.box);
        Keypad pad;
        Activate(pad, With(With(kFrancs, "Size=1", std::string("Size=") + row.size), "CaseEnSaisie=1",
                           std::string("CaseEnSaisie=") + row.box));
        EXPECT_EQ(pad.state.SizeLevel, row.level);
        EXPECT_EQ(pad.state.BoxUnderEntry, row.boxUnderEntry);
        EXPECT_EQ(Stored("Windows", "Size"), row.storedSize);
    }
}

TEST_F(ActivationTest, RenamingKeepsTheMemoryAmountsShownOnce) {
    Keypad pad = Started();
    engine::ShowMemoryAsZero(pad.state.Memory);
    engine::StartRenaming(pad.state, pad.context);
    Activate(pad, With(kFrancs, "Title=FRF Caisse", "Title=FRF Tiroir"));
    EXPECT_EQ(engine::StoredTitle(pad.state.Memory), "FRF Tiroir");
    EXPECT_EQ(pad.state.Memory.National, "0");
    Activate(pad, kFrancs);
    EXPECT_EQ(pad.state.Memory.National, "7");
}

TEST_F(ActivationTest, AWriteThatFailsIsReportedAndTheStepGoesOn) {
    Keypad pad;
    const SettingsFile file(WriteBytes("DEVICAL.INI", With(kFrancs, "Size=1", "Size=3")));
    const Settings settings = file.Read(',').values;
    std::filesystem::remove(Path("DEVICAL.INI"));
    std::filesystem::create_directory(Path("DEVICAL.INI"));  // no file can be written there
    const engine::EngineOutcome outcome = ApplySettings(pad.state, pad.context, settings, file);
    EXPECT_EQ(outcome.messages.size(), 2u);  // the size level, then the box under entry
    EXPECT_EQ(pad.state.SizeLevel, 3);
    EXPECT_EQ(pad.context.currencyTitle, "FRF Franc français");
}

}  // namespace
}  // namespace devical::storage::testing
