#include "storage/program_directory.h"

#include <sys/stat.h>

#include <map>
#include <tuple>

#include "storage/file_io.h"
#include "storage/language_set.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;

// An installed program: bin/ without working files, share/devical/ with the shipped data
// (two language sets and a help document), and a home without the user's directory yet.
class ProgramDirectoryTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::create_directories(Path("bin"));
        fs::create_directories(Path("share/devical"));
        for (const char* code : {"FR", "AN"}) {
            for (const LanguageSetFile& file : kLanguageSetFiles) {
                const std::string name = std::string(file.storedPrefix) + code;
                WriteBytes(Shipped(name), name + " shipped\r\n");
            }
        }
        WriteBytes(Shipped("Devical.html"), "<p>help</p>\n");
    }
    static std::string Shipped(const std::string& name) { return "share/devical/" + name; }
    fs::path User() const { return Path("home/.local/share/devical/"); }  // as the program names it
    ProgramDirectoryPlan Plan() const { return PlanProgramDirectory(Path("bin"), User(), Path("share/devical")); }

    std::map<std::string, std::string> UserFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(User()))
            files[entry.path().filename().string()] = BytesAt(entry.path());
        return files;
    }
    static mode_t ModeOf(const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
};

TEST_F(ProgramDirectoryTest, AWritableDirectoryWithItsSettingsIsPortable) {
    WriteBytes("bin/devical.ini", "[Calcul]\r\n");  // any letter case
    EXPECT_EQ(Plan().directory, Path("bin"));
    EXPECT_FALSE(Plan().seedFrom);

    ::chmod(Path("bin").c_str(), 0555);  // installed read-only, even for root
    EXPECT_EQ(Plan().directory, User());
    EXPECT_EQ(Plan().seedFrom, Path("share/devical"));
    ::chmod(Path("bin").c_str(), 0755);

    fs::remove(Path("bin/devical.ini"));
    EXPECT_EQ(Plan().directory, User());
    fs::remove_all(Path("share"));  // nothing to seed from: the files are reported missing there
    EXPECT_EQ(Plan().directory, Path("bin"));
}

TEST_F(ProgramDirectoryTest, ANewUserGetsThePrivateDirectorySeededAndTheFirstRunMarker) {
    SeedUserDirectory(Path("share/devical"), User(), "FR");
    EXPECT_EQ(ModeOf(User()), 0700u);
    const auto files = UserFiles();
    EXPECT_EQ(files.size(), 10u + 1 + 5 + 1);  // two sets, the help, the working files, the marker
    for (const auto& entry : fs::directory_iterator(Path("share/devical")))
        EXPECT_EQ(files.at(entry.path().filename().string()), BytesAt(entry.path()));
    EXPECT_EQ(files.at("DEVICAL.LAN"), "Devical.FR shipped\r\n");
    EXPECT_EQ(files.at("DEVICAL.INI"), "Devical.iFR shipped\r\n");
    EXPECT_EQ(files.at("Memory.txt"), "Memory.FR shipped\r\n");
    EXPECT_EQ(files.at("Install.Oui"), "");
}

// The working files come from the set the locale preselects, so that the window behind the
// first language choice already speaks the user's language; French when that set is not shipped.
TEST_F(ProgramDirectoryTest, ANewUserStartsInTheSetOfTheirLocale) {
    for (const auto& [locale, expected] : {std::pair{"AN", "AN"}, {"GM", "FR"}}) {
        fs::remove_all(Path("home"));
        SeedUserDirectory(Path("share/devical"), User(), locale);
        const auto files = UserFiles();
        for (const LanguageSetFile& file : kLanguageSetFiles)
            EXPECT_EQ(files.at(std::string(file.workingName)),
                      std::string(file.storedPrefix) + expected + " shipped\r\n")
                << locale << " " << file.workingName;
    }
}

// A portable directory's first run speaks the locale's set too, where the directory holds it;
// the set it came with is kept for the choice to bring back.
TEST_F(ProgramDirectoryTest, APortableFirstRunTakesTheSetOfTheLocale) {
    using Row = std::tuple<bool, const char*, const char*>;  // a first run, the locale's set, the set then
    for (const auto& [firstRun, locale, installed] :
         {Row{true, "GM", "GM"}, Row{false, "GM", "FR"}, Row{true, "XX", "FR"}}) {
        SCOPED_TRACE(std::string(locale) + (firstRun ? ", first run" : ""));
        fs::remove_all(Path("bin"));
        fs::copy(DEVICAL_DATA_DIR, Path("bin"));  // every shipped set, the French one working
        for (const LanguageSetFile& file : kLanguageSetFiles)
            fs::copy_file(Path("bin/" + std::string(file.storedPrefix) + "FR"),
                          Path("bin/" + std::string(file.workingName)));
        if (firstRun) WriteBytes("bin/Install.Oui", "");
        PrepareProgramDirectory({Path("bin"), std::nullopt}, locale);
        EXPECT_EQ(Bytes("bin/DEVICAL.LAN"), Bytes("bin/Devical." + std::string(installed)));
        EXPECT_EQ(fs::exists(Path("bin/Install.Oui")), firstRun);
    }
}

TEST_F(ProgramDirectoryTest, AUsersFilesSurviveAndOnlyWhatIsMissingIsAdded) {
    SeedUserDirectory(Path("share/devical"), User(), "FR");
    fs::remove(User() / "Install.Oui");  // the language was chosen
    WriteBytes("home/.local/share/devical/DEVICAL.INI", "the user's settings\r\n");
    WriteBytes("home/.local/share/devical/Memory.FR", "the user's French amounts\r\n");
    fs::rename(User() / "Rates.AN", User() / "rates.an");
    fs::remove(User() / "Taxes.txt");
    fs::remove(User() / "Devical.AN");
    WriteBytes(Shipped("Devical.html"), "<p>newer help</p>\n");
    auto expected = UserFiles();

    SeedUserDirectory(Path("share/devical"), User(), "FR");
    expected["Taxes.txt"] = "Taxes.FR shipped\r\n";
    expected["Devical.AN"] = "Devical.AN shipped\r\n";
    expected["Devical.html"] = "<p>newer help</p>\n";  // the program's own, refreshed
    EXPECT_EQ(UserFiles(), expected);
}

TEST_F(ProgramDirectoryTest, AFailedSeedingLeavesOnlyWholeFilesAndTheNextStartCompletesIt) {
    fs::create_directory(Path("home"));
    WriteBytes("home/.local", "a file where a directory should be");
    try {
        SeedUserDirectory(Path("share/devical"), User(), "FR");
        ADD_FAILURE() << "seeded under a file";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Ne peut créer le dossier " + Path("home/.local/share").string() + "\nNot a directory");
    }
    fs::remove(Path("home/.local"));

    WriteBytes(Shipped("Rates.AN"), std::string(4096, 'r'));  // the disk fills up at this file
    WithFileSizeLimit(1024, [&] { EXPECT_THROW(SeedUserDirectory(Path("share/devical"), User(), "FR"), FileError); });
    for (const auto& [name, bytes] : UserFiles()) {
        if (name != "Install.Oui") {
            EXPECT_EQ(bytes, Bytes(Shipped(name))) << name;
        }
    }
    SeedUserDirectory(Path("share/devical"), User(), "FR");
    EXPECT_EQ(UserFiles().size(), 17u);
    EXPECT_EQ(UserFiles().count("Install.Oui"), 1u);
}

// Another local user must not be able to steer what the program reads and writes.
TEST_F(ProgramDirectoryTest, AFolderOthersMayChangeIsRefusedUntouched) {
    struct Row {
        const char* name;
        mode_t mode;
        uid_t owner;
        const char* refusal;  // none: used
    };
    const Row rows[] = {
        {"private", 0700, 0, nullptr},
        {"writable by the group", 0770, 0,
         "d'autres utilisateurs peuvent en modifier les fichiers.\nRendez-le à vous seul (chmod go-w"},
        {"another user's", 0700, 4242, "il appartient à un autre utilisateur (uid 4242)."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(Path("home"));
        fs::create_directories(User());
        ::chmod(User().c_str(), row.mode);
        ::chown(User().c_str(), row.owner, static_cast<gid_t>(-1));  // tests run as root
        try {
            PrepareProgramDirectory(Plan(), "FR");
            EXPECT_EQ(row.refusal, nullptr);
            EXPECT_EQ(UserFiles().count("DEVICAL.INI"), 1u);
        } catch (const FileError& error) {
            ASSERT_NE(row.refusal, nullptr) << error.what();
            EXPECT_NE(
                std::string(error.what()).find("Devical n'utilisera pas " + User().string() + " : " + row.refusal),
                std::string::npos)
                << error.what();
            EXPECT_TRUE(UserFiles().empty());
        }
    }
}

TEST(UserDataDirectory, FollowsAnAbsoluteXdgDataHomeOnly) {
    EXPECT_EQ(UserDataDirectory("/data/me", "/home/me"), "/data/me/devical/");
    EXPECT_EQ(UserDataDirectory("data", "/home/me"), "/home/me/.local/share/devical/");
    EXPECT_EQ(UserDataDirectory("", "/home/me"), "/home/me/.local/share/devical/");
    EXPECT_EQ(UserDataDirectory(nullptr, "/home/me"), "/home/me/.local/share/devical/");
}

}  // namespace
}  // namespace devical::storage::testing
