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

// Whatever sits at the temporary's name is removed, never written through.
TEST_F(ReplaceFileContentsTest, WritesNothingThroughWhatIsLeftAtTheTemporaryName) {
    struct Row {
        const char* name;
        void (*plant)(const fs::path& temporary, const fs::path& elsewhere);
    };
    const Row rows[] = {
        {"link to a file",
         [](const fs::path& temporary, const fs::path& elsewhere) {
             std::ofstream(elsewhere, std::ios::binary) << "not yours";
             fs::create_symlink(elsewhere, temporary);
         }},
        {"link to a file not there yet",
         [](const fs::path& temporary, const fs::path& elsewhere) { fs::create_symlink(elsewhere, temporary); }},
        {"leftover file",
         [](const fs::path& temporary, const fs::path&) { std::ofstream(temporary, std::ios::binary) << "stale"; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
        fs::remove(Path("elsewhere"));
        row.plant(Path("DEVICAL.Old"), Path("elsewhere"));
        const std::string elsewhereBefore = fs::exists(Path("elsewhere")) ? Bytes("elsewhere") : "(none)";

        ReplaceFileContents(path, "[S]\r\nK=2\r\n");
        EXPECT_EQ(Bytes("DEVICAL.INI"), "[S]\r\nK=2\r\n");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        EXPECT_FALSE(fs::exists(fs::symlink_status(Path("DEVICAL.Old"))));
        EXPECT_EQ(fs::exists(Path("elsewhere")) ? Bytes("elsewhere") : "(none)", elsewhereBefore);
    }
}

TEST_F(ReplaceFileContentsTest, FailsWhenTheTemporaryCannotBeMadeSafely) {
    const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
    fs::create_directory(Path("DEVICAL.Old"));
    EXPECT_EQ(FailureOf(path, "[S]\r\nK=2\r\n"),
              "Ne peut créer le fichier " + Path("DEVICAL.Old").string() + "\n" + Reason(EEXIST));
    EXPECT_EQ(Bytes("DEVICAL.INI"), "[S]\r\nK=1\r\n");
}

// Tests run as root, whom access() lets write anything: the missing write bits must do.
TEST_F(ReplaceFileContentsTest, LeavesAReadOnlyFileAsItIs) {
    const auto path = WriteBytes("DEVICAL.INI", "[S]\r\nK=1\r\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(FailureOf(path, "[S]\r\nK=2\r\n"), "Ne peut écrire le fichier " + path.string() + "\n" + Reason(EACCES));
    EXPECT_EQ(Bytes("DEVICAL.INI"), "[S]\r\nK=1\r\n");
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_FALSE(fs::exists(Path("DEVICAL.Old")));
}

TEST_F(ReplaceFileContentsTest, ALinkToNothingIsAnErrorAndStaysALink) {
    fs::create_symlink(Path("gone.ini"), Path("DEVICAL.INI"));
    EXPECT_EQ(FailureOf(Path("DEVICAL.INI"), "[S]\r\nK=2\r\n"),
              "Ne peut écrire le fichier " + Path("DEVICAL.INI").string() + "\n" + Reason(ENOENT));
    EXPECT_TRUE(fs::is_symlink(Path("DEVICAL.INI")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Path("gone.ini"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Path("DEVICAL.Old"))));
}

class ReplaceFilesTogetherTest : public ReplaceFileContentsTest {
protected:
    bool NoTemporaryLeft() const {
        for (const auto& entry : fs::directory_iterator(dir_)) {
            if (entry.path().extension() == ".new") return false;
        }
        return true;
    }
};

TEST_F(ReplaceFilesTogetherTest, EveryFileTakesItsNewBytesAndANewOneIsCreated) {
    WriteBytes("a.txt", "old a");
    ReplaceFilesTogether({{Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
    EXPECT_EQ(Bytes("a.txt"), "new a");
    EXPECT_EQ(Bytes("b.txt"), "new b");
    EXPECT_TRUE(NoTemporaryLeft());
}

TEST_F(ReplaceFilesTogetherTest, AFailureWhileWritingChangesNoFile) {
    WriteBytes("a.txt", "old a");
    WriteBytes("b.txt", "old b");
    // The second content does not fit on the "disk": the first is written but never renamed.
    WithFileSizeLimit(64, [&] {
        EXPECT_THROW(ReplaceFilesTogether({{Path("a.txt"), "new a"}, {Path("b.txt"), std::string(100, 'b')}}),
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
            ReplaceFilesTogether({{Path("new.txt"), "new"}, {Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
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
