#include "storage/language_set.h"

#include <sys/stat.h>

#include <functional>
#include <map>

#include "storage/file_io.h"
#include "storage/language_file.h"
#include "storage/settings.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;

// A program directory holding the French and English sets, the French one installed and
// then worked on by the user.
class LanguageSetTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        for (const char* code : {"FR", "AN"})
            WriteSet(code);
        for (const LanguageSetFile& file : kLanguageSetFiles)
            WriteBytes(std::string(file.workingName), Stored(file, "FR"));
        // The user's work since the French set was installed: every list and the settings.
        for (const char* name : {"DEVICAL.INI", "Rates.txt", "Taxes.txt", "Memory.txt"})
            WriteBytes(name, Bytes(name) + "edited " + name + "\r\n");
    }

    void WriteSet(const std::string& code) {
        for (const LanguageSetFile& file : kLanguageSetFiles)
            WriteBytes(std::string(file.storedPrefix) + code, Stored(file, code));
    }

    static std::string Stored(const LanguageSetFile& file, const std::string& code) {
        return std::string(file.storedPrefix) + code + " as shipped\r\n";
    }

    // Every file of the directory with its bytes.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dir_))
            files[entry.path().filename().string()] = entry.is_regular_file() ? BytesAt(entry.path()) : "(other)";
        return files;
    }

    std::string Failure(std::string_view previous, std::string_view chosen) const {
        try {
            InstallLanguageSet(dir_, previous, chosen);
            return {};
        } catch (const std::runtime_error& error) {
            return error.what();
        }
    }
};

TEST_F(LanguageSetTest, ARoundTripGivesBackTheWholeFrenchWork) {
    const auto frenchWork = Snapshot();
    EXPECT_EQ(InstallLanguageSet(dir_, "FR", "AN"), LanguageSwitch::Installed);

    for (const LanguageSetFile& file : kLanguageSetFiles)
        EXPECT_EQ(Bytes(std::string(file.workingName)), Stored(file, "AN")) << file.workingName;
    EXPECT_EQ(Bytes("Devical.iFR"), frenchWork.at("DEVICAL.INI"));
    EXPECT_EQ(Bytes("Rates.FR"), frenchWork.at("Rates.txt"));
    EXPECT_EQ(Bytes("Taxes.FR"), frenchWork.at("Taxes.txt"));
    EXPECT_EQ(Bytes("Memory.FR"), frenchWork.at("Memory.txt"));
    EXPECT_EQ(Bytes("Devical.FR"), frenchWork.at("Devical.FR"));  // the texts are never the user's

    WriteBytes("Memory.txt", "an English saved amount\r\n");
    EXPECT_EQ(InstallLanguageSet(dir_, "AN", "FR"), LanguageSwitch::Installed);
    for (const char* name : {"DEVICAL.LAN", "DEVICAL.INI", "Rates.txt", "Taxes.txt", "Memory.txt"})
        EXPECT_EQ(Bytes(name), frenchWork.at(name)) << name;
    EXPECT_EQ(Bytes("Memory.AN"), "an English saved amount\r\n");
    EXPECT_EQ(Snapshot().size(), frenchWork.size());  // no temporary left behind
}

TEST_F(LanguageSetTest, TheInstalledLanguageCopiesNothing) {
    const auto before = Snapshot();
    EXPECT_EQ(InstallLanguageSet(dir_, "FR", "FR"), LanguageSwitch::AlreadyInstalled);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LanguageSetTest, AnIncompleteOrUnreadableSetChangesNoFile) {
    WriteSet("GM");
    fs::remove(Path("Memory.GM"));
    auto before = Snapshot();
    InLanguage("AN", [&] {
        EXPECT_EQ(Failure("FR", "GM"), "All needed files don't exist for language :GM\nOperation cancelled");
    });
    EXPECT_EQ(Failure("FR", "GM"), "Il manque des fichiers pour la langue :GM\nOpération annulée");
    EXPECT_EQ(Snapshot(), before);

    fs::remove(Path("Taxes.AN"));
    fs::create_directory(Path("Taxes.AN"));  // there, but no file to read
    before = Snapshot();
    EXPECT_EQ(Failure("FR", "AN"), "Ne peut lire le fichier " + Path("Taxes.AN").string() + "\nIs a directory");
    EXPECT_EQ(Snapshot(), before);

    // A FIFO would hold the switch until somebody wrote into it.
    fs::remove(Path("Taxes.AN"));
    ::mkfifo(Path("Taxes.AN").c_str(), 0644);
    EXPECT_EQ(Failure("FR", "AN"),
              "Ne peut lire le fichier " + Path("Taxes.AN").string() + "\nce n'est pas un fichier ordinaire");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LanguageSetTest, AFailureWhileWritingChangesNoFile) {
    // The new language file is written and synced, then the settings cannot be: the texts
    // must not change alone.
    ::chmod(Path("DEVICAL.INI").c_str(), 0444);
    auto before = Snapshot();
    EXPECT_EQ(Failure("FR", "AN"), "Ne peut écrire le fichier " + Path("DEVICAL.INI").string() + "\nPermission denied");
    EXPECT_EQ(Snapshot(), before);

    ::chmod(Path("DEVICAL.INI").c_str(), 0644);
    WriteBytes("Memory.AN", std::string(4096, 'x'));
    before = Snapshot();
    WithFileSizeLimit(1024, [&] { EXPECT_THROW(InstallLanguageSet(dir_, "FR", "AN"), FileError); });
    EXPECT_EQ(Snapshot(), before);
}

// A settings or language file past its limit is refused, naming it and the limit; the lists
// of a set may be bigger.
TEST_F(LanguageSetTest, ATextOrSettingsFilePastItsLimitIsRefused) {
    const auto settings = [&] { return SettingsFile(Path("DEVICAL.INI")); };
    const auto install = [&] { InstallLanguageSet(dir_, "FR", "AN"); };
    const struct {
        const char* file;
        int past;  // bytes past the limit
        std::function<void()> read;
        bool refused;
    } rows[] = {
        {"DEVICAL.INI", 1, [&] { settings().Read(','); }, true},
        {"DEVICAL.INI", 0, [&] { settings().Read(','); }, false},
        {"DEVICAL.INI", 1, [&] { settings().WriteOne([](SettingsChanges& c) { c.Decimals("3"); }); }, true},
        {"DEVICAL.LAN", 1, [&] { LanguageFile{Path("DEVICAL.LAN")}; }, true},
        {"Devical.AN", 1, install, true},
        {"Rates.AN", 1, install, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file + std::to_string(row.past));
        TearDown();  // a fresh directory for each row
        SetUp();
        WriteBytes(row.file, "[Calcul]\r\n" + std::string(kLargestIniFile + row.past - 10, ' '));
        std::string failure;
        try {
            row.read();
        } catch (const FileError& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, !row.refused ? ""
                                        : "Ne peut lire le fichier " + Path(row.file).string() +
                                              "\nil dépasse la taille admise de 4 Mio");
    }
}

TEST_F(LanguageSetTest, NamesMatchInAnyCaseAndLinksStayLinks) {
    fs::rename(Path("Rates.AN"), Path("rates.an"));
    fs::rename(Path("DEVICAL.INI"), Path("devical.ini"));
    fs::create_directory(Path("kept"));
    fs::rename(Path("Taxes.FR"), Path("kept/taxes"));
    fs::create_symlink("kept/taxes", Path("Taxes.FR"));
    const std::string frenchTaxes = Bytes("Taxes.txt");

    InstallLanguageSet(dir_, "FR", "AN");
    EXPECT_EQ(Bytes("Rates.txt"), "Rates.AN as shipped\r\n");
    EXPECT_EQ(Bytes("devical.ini"), "Devical.iAN as shipped\r\n");
    EXPECT_FALSE(fs::exists(Path("DEVICAL.INI")) && !fs::equivalent(Path("DEVICAL.INI"), Path("devical.ini")));
    EXPECT_TRUE(fs::is_symlink(Path("Taxes.FR")));
    EXPECT_EQ(Bytes("kept/taxes"), frenchTaxes);
}

TEST_F(LanguageSetTest, AMissingWorkingListIsNotStored) {
    fs::remove(Path("Memory.txt"));
    InstallLanguageSet(dir_, "FR", "AN");
    EXPECT_EQ(Bytes("Memory.FR"), "Memory.FR as shipped\r\n");
    EXPECT_EQ(Bytes("Memory.txt"), "Memory.AN as shipped\r\n");
}

TEST_F(LanguageSetTest, ACodeThatCannotNameAFileIsRefused) {
    const auto before = Snapshot();
    InLanguage("EU", [&] {
        for (const char* previous : {"../FR", "", "F R", "FR/"})
            EXPECT_EQ(Failure(previous, "AN"),
                      "Invalid language code \"" + std::string(previous) + "\"\nOperation cancelled");
    });
    EXPECT_EQ(Snapshot(), before);
}

TEST(LanguageCodeForLocale, FollowsTheTableAndGivesFrenchOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {"fr_FR.UTF-8", "FR"}, {"fr_CA", "FR"},       {"fr_CH.UTF-8", "FR"},
        {"fr_BE.UTF-8", "BE"}, {"fr_BE@euro", "BE"},  {"en_US.UTF-8", "AN"},
        {"en_GB", "AN"},       {"de_DE.UTF-8", "GM"}, {"de_CH", "GM"},
        {"en_IE.UTF-8", "AN"}, {"de_AT", "GM"},       {"de_LU.UTF-8", "GM"},
        {"fr_LU", "FR"},       {"nl_BE", "FR"},       {"fr_be", "FR"},
        {"C", "FR"},           {"POSIX", "FR"},       {"", "FR"},
    };
    for (const auto& [locale, code] : cases)
        EXPECT_EQ(LanguageCodeForLocale(locale), code) << locale;
}

TEST_F(LanguageSetTest, TheFirstRunMarkerIsFoundAndRemovedInAnyCase) {
    EXPECT_FALSE(HasFirstRunMarker(dir_));
    EXPECT_NO_THROW(RemoveFirstRunMarker(dir_));
    WriteBytes("INSTALL.OUI", "");
    EXPECT_TRUE(HasFirstRunMarker(dir_));
    RemoveFirstRunMarker(dir_);
    EXPECT_FALSE(HasFirstRunMarker(dir_));
}

}  // namespace
}  // namespace devical::storage::testing
