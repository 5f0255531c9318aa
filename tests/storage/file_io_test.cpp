#include "storage/file_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;

class ReplaceFileContentsTest : public TempDirTest {
protected:
    static mode_t ModeOf(const fs::path& path) {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info.st_mode & 07777;
    }

    // The FileError of the rewrite, or nothing when it succeeded.
    static std::optional<std::string> FailureOf(const fs::path& target, std::string_view bytes) {
        try {
            ReplaceFileContents(target, bytes);
            return std::nullopt;
        } catch (const FileError& error) {
            return error.what();
        }
    }

    static std::string Reason(int error) { return std::generic_category().message(error); }
};

TEST_F(ReplaceFileContentsTest, ANewFileFollowsTheUmaskAndARewrittenOneKeepsItsMode) {
    struct Row {
        const char* name;
        mode_t umask;
        std::optional<mode_t> existing;
        mode_t expected;
    };
    const Row rows[] = {
        {"new under 022", 022, std::nullopt, 0644},
        {"new under 077", 077, std::nullopt, 0600},
        {"rewritten under 077", 077, 0644, 0644},
        {"rewritten under 022", 022, 0660, 0660},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path path = Path("Rates.txt");
        fs::remove(path);
        if (row.existing) {
            WriteBytes("Rates.txt", "old");
            ::chmod(path.c_str(), *row.existing);
        }
        const mode_t saved = ::umask(row.umask);
        ReplaceFileContents(path, "USD Dollar\r\n1,1\r\n");
        ::umask(saved);
        EXPECT_EQ(ModeOf(path), row.expected);
        EXPECT_EQ(Bytes("Rates.txt"), "USD Dollar\r\n1,1\r\n");
    }
}

// What another writer, or an attacker, puts at the temporary's name is never written through
// nor removed: the rewrite takes another name.
TEST_F(ReplaceFileContentsTest, WritesNothingThroughWhatOthersPutAtItsTemporaryName) {
    struct Row {
        const char* name;
        void (*plant)(const fs::path& temporary, const fs::path& elsewhere);
        const char* readThereAfter;  // through what was planted
    };
    const Row rows[] = {
        {"link to a file",
         [](const fs::path& temporary, const fs::path& elsewhere) {
             std::ofstream(elsewhere, std::ios::binary) << "not yours";
             fs::create_symlink(elsewhere, temporary);
         },
         "not yours"},
        {"another writer's file",
         [](const fs::path& temporary, const fs::path&) { std::ofstream(temporary, std::ios::binary) << "theirs"; },
         "theirs"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
        fs::remove(Path("elsewhere"));
        static fs::path planted;
        static const Row* current;
        planted.clear();
        current = &row;
        SetFileStepObserver([](FileStep step, const fs::path& temporary) {
            if (step != FileStep::CreateTemporary || !planted.empty()) return;
            planted = temporary;
            current->plant(temporary, temporary.parent_path() / "elsewhere");
        });
        ReplaceFileContents(path, "[S]\r\nK=2\r\n");
        SetFileStepObserver(nullptr);
        EXPECT_EQ(Bytes("DEVICAL.INI"), "[S]\r\nK=2\r\n");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        ASSERT_TRUE(fs::exists(fs::symlink_status(planted)));
        EXPECT_EQ(fs::exists(planted) ? BytesAt(planted) : "(nothing)", row.readThereAfter);
        fs::remove(planted);
    }
}

// The temporary file reaches the disk before it takes the target's name, and the rename before
// the rewrite returns: a power cut leaves the old file or the new one, never an empty one.
TEST_F(ReplaceFileContentsTest, SyncsTheNewBytesBeforeTheRenameAndTheFolderAfterIt) {
    const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
    static std::vector<std::pair<FileStep, fs::path>> steps;
    steps.clear();
    SetFileStepObserver([](FileStep step, const fs::path& file) { steps.emplace_back(step, file); });
    ReplaceFileContents(path, "[S]\r\nK=2\r\n");
    SetFileStepObserver(nullptr);
    ASSERT_EQ(steps.size(), 4u);
    const fs::path temporary = steps[0].second;
    EXPECT_EQ(temporary.parent_path(), dir_);
    const std::vector<std::pair<FileStep, fs::path>> expected = {{FileStep::CreateTemporary, temporary},
                                                                 {FileStep::SyncFile, temporary},
                                                                 {FileStep::Rename, path},
                                                                 {FileStep::SyncDirectory, dir_}};
    EXPECT_EQ(steps, expected);
}

// Tests run as root, whom access() lets write anything: the missing write bits must do.
TEST_F(ReplaceFileContentsTest, LeavesAReadOnlyFileAsItIs) {
    const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(FailureOf(path, "[S]\r\nK=2\r\n"), "Ne peut écrire le fichier " + path.string() + "\n" + Reason(EACCES));
    EXPECT_EQ(Bytes("DEVICAL.INI"), "[S]\r\nK=1\r\n");
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_TRUE(NoTemporaryLeft());
}

// A link is followed only to a file that exists in the link's own folder or below it: a list
// file must not become a way to write anywhere else.
TEST_F(ReplaceFileContentsTest, ALinkToNothingOrOutOfItsFolderIsAnErrorAndStaysALink) {
    fs::create_directories(Path("outside"));
    fs::create_directories(Path("folder/kept"));
    std::ofstream(Path("outside/victim"), std::ios::binary) << "victim";
    std::ofstream(Path("folder/kept/rates"), std::ios::binary) << "kept";
    struct Row {
        const char* link;
        fs::path to;
        std::optional<std::string> reason;  // none: written through
    };
    const Row rows[] = {
        {"folder/gone", Path("folder/gone.ini"), Reason(ENOENT)},
        {"folder/up", "../outside/victim",
         "c'est un lien vers " + Path("outside/victim").string() + ", hors de son dossier"},
        {"folder/down", "kept/rates", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.link);
        fs::create_symlink(row.to, Path(row.link));
        const auto failure = FailureOf(Path(row.link), "new");
        EXPECT_EQ(failure, row.reason ? std::optional("Ne peut écrire le fichier " + Path(row.link).string() + "\n" +
                                                      *row.reason)
                                      : std::nullopt);
        EXPECT_TRUE(fs::is_symlink(Path(row.link)));
    }
    EXPECT_EQ(Bytes("outside/victim"), "victim");
    EXPECT_EQ(Bytes("folder/kept/rates"), "new");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Path("folder/gone.ini"))));
}

using ReplaceFilesTogetherTest = ReplaceFileContentsTest;

TEST_F(ReplaceFilesTogetherTest, EveryFileTakesItsNewBytesAndANewOneIsCreated) {
    WriteBytes("a.txt", "old a");
    ReplaceFilesTogether(dir_, {{Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
    EXPECT_EQ(Bytes("a.txt"), "new a");
    EXPECT_EQ(Bytes("b.txt"), "new b");
    EXPECT_TRUE(NoTemporaryLeft());
}

// Every new content and then the journal reach the disk before the first rename, and the
// renames before the journal goes: a power cut leaves a journal naming whole files, or none.
TEST_F(ReplaceFilesTogetherTest, SyncsEachFileThenTheJournalBeforeTheRenamesAndTheFolderAfterThem) {
    static std::string steps;  // each step's letter, then the first letter of its file's name
    steps.clear();
    SetFileStepObserver([](FileStep step, const fs::path& file) {
        steps += std::string{"CSRDX"[static_cast<int>(step)], file.filename().string()[0], ' '};
    });
    ReplaceFilesTogether(dir_, {{Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
    SetFileStepObserver(nullptr);
    EXPECT_EQ(steps, "Ca Sa Cb Sb CD SD RD Dd Ra Rb Dd XD ");  // d: the folder, devical-test-...
}

TEST_F(ReplaceFilesTogetherTest, AFailureWhileWritingChangesNoFile) {
    WriteBytes("a.txt", "old a");
    WriteBytes("b.txt", "old b");
    // The second content does not fit on the "disk": the first is written but never renamed.
    WithFileSizeLimit(64, [&] {
        EXPECT_THROW(ReplaceFilesTogether(dir_, {{Path("a.txt"), "new a"}, {Path("b.txt"), std::string(100, 'b')}}),
                     FileError);
    });
    EXPECT_EQ(Bytes("a.txt"), "old a");
    EXPECT_EQ(Bytes("b.txt"), "old b");
    EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(ReplaceFilesTogetherTest, ARenameThatFailsPutsBackTheFilesAlreadyReplaced) {
    WriteBytes("a.txt", "old a");
    fs::create_directory(Path("b.txt"));  // nothing can be renamed over a directory
    const auto failure = [&]() -> std::string {
        try {
            ReplaceFilesTogether(dir_, {{Path("new.txt"), "new"}, {Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
            return {};
        } catch (const FileError& error) {
            return error.what();
        }
    }();
    EXPECT_EQ(failure, "Ne peut écrire le fichier " + Path("b.txt").string() + "\n" + Reason(EISDIR));
    EXPECT_EQ(Bytes("a.txt"), "old a");
    EXPECT_FALSE(fs::exists(Path("new.txt")));
    EXPECT_TRUE(NoTemporaryLeft());
}

}  // namespace
}  // namespace devical::storage::testing
