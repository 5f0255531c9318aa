#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <system_error>

#include "temp_dir.h"

// What reaches the kernel, for the tests of durability: this program's own fsync, fdatasync,
// rename and unlink win over the C library's at link time and, while `logging` is on, log each
// call with its file before making it. Nothing in the program itself changes.
namespace {
bool logging = false;
std::string calls;
void Log(const std::string& call) {
    if (logging) calls += call + ' ';
}
std::string PathOf(int fd) {
    char path[4096];
    const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return length < 0 ? "?" : std::string(path, static_cast<std::size_t>(length));
}
}  // namespace

extern "C" int fsync(int fd) {
    Log("sync " + PathOf(fd));
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int fdatasync(int fd) {
    Log("sync " + PathOf(fd));
    return static_cast<int>(::syscall(SYS_fdatasync, fd));
}
extern "C" int rename(const char* from, const char* to) noexcept {
    Log("rename " + std::string(from) + " " + to);
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
extern "C" int unlink(const char* path) noexcept {
    Log("unlink " + std::string(path));
    return ::unlinkat(AT_FDCWD, path, 0);
}

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;

// The calls the action makes, each file named within the test's folder ("." for the folder
// itself), a temporary one as its target's name followed by ~.
std::string CallsOf(const fs::path& folder, const std::function<void()>& action) {
    calls.clear();
    logging = true;
    action();
    logging = false;
    // A temporary name ends in a dot, six letters or digits and ".tmp".
    std::string text = calls;
    for (std::size_t at = text.find(".tmp"); at != std::string::npos; at = text.find(".tmp", at)) {
        const bool temporary = at >= 7 && text[at - 7] == '.' &&
                               std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at) - 6,
                                           text.begin() + static_cast<std::ptrdiff_t>(at),
                                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
        if (temporary) {
            text.replace(at - 7, 11, "~");
            at -= 6;
        } else {
            at += 4;
        }
    }
    for (auto at = text.find(folder.string()); at != std::string::npos; at = text.find(folder.string(), at)) {
        const bool inside = text[at + folder.string().size()] == '/';
        text.replace(at, folder.string().size() + (inside ? 1 : 0), inside ? "" : ".");
    }
    return text;
}

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
    EXPECT_EQ(CallsOf(dir_, [&] { ReplaceFileContents(path, "[S]\r\nK=2\r\n"); }),
              "sync DEVICAL.INI~ rename DEVICAL.INI~ DEVICAL.INI sync . ");
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
// So too when the next start completes a change that a kill cut short, and when a failed
// change is undone.
TEST_F(ReplaceFilesTogetherTest, SyncsEachFileThenTheJournalBeforeTheRenamesAndTheFolderAfterThem) {
    const struct {
        const char* name;
        std::function<void()> change;
        const char* calls;
    } rows[] = {
        {"a change",
         [&] {
             ReplaceFilesTogether(dir_, {{Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}});
         },
         "sync a.txt~ sync b.txt~ sync DEVICAL.JNL~ rename DEVICAL.JNL~ DEVICAL.JNL sync . "
         "rename a.txt~ a.txt rename b.txt~ b.txt sync . unlink DEVICAL.JNL "},
        {"its completion by the next start",
         [&] {
             WriteBytes("c.txt.AbC123.tmp", "new c");
             WriteBytes("DEVICAL.JNL", "Devical journal 2\n" + Path("c.txt.AbC123.tmp").string() + '\0' +
                                           Path("c.txt").string() + std::string("\0-\0", 3));
             FinishInterruptedWrites(dir_);
         },
         "rename c.txt~ c.txt sync . unlink DEVICAL.JNL "},
        {"its undo after a rename that fails",
         [&] {
             WriteBytes("a.txt", "old a");
             fs::remove(Path("b.txt"));
             // A directory takes b.txt's place once its new bytes are staged.
             SetFileStepObserver([](FileStep step, const fs::path& file) {
                 if (step == FileStep::Rename && file.filename() == "b.txt") fs::create_directory(file);
             });
             EXPECT_THROW(ReplaceFilesTogether(dir_, {{Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}}), FileError);
             SetFileStepObserver(nullptr);
         },
         "sync a.txt~ sync b.txt~ sync DEVICAL.JNL~ rename DEVICAL.JNL~ DEVICAL.JNL sync . rename a.txt~ a.txt "
         "rename b.txt~ b.txt unlink b.txt~ "
         "sync a.txt~ sync DEVICAL.JNL~ rename DEVICAL.JNL~ DEVICAL.JNL sync . rename a.txt~ a.txt sync . "
         "unlink DEVICAL.JNL "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CallsOf(dir_, row.change), row.calls);
    }
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

// The files renamed before the failure get their old bytes back, the one created goes, and the
// temporary files of those still to rename go at once, not at the next start.
TEST_F(ReplaceFilesTogetherTest, ARenameThatFailsPutsBackTheFilesAlreadyReplaced) {
    // A directory takes b.txt's place once its new bytes are staged: nothing can be renamed over it.
    SetFileStepObserver([](FileStep step, const fs::path& file) {
        if (step == FileStep::Rename && file.filename() == "b.txt") fs::create_directory(file);
    });
    for (const bool failingLast : {true, false}) {
        SCOPED_TRACE(failingLast ? "the last rename fails" : "a rename before the last fails");
        fs::remove(Path("b.txt"));
        WriteBytes("a.txt", "old a");
        std::vector<FileContents> files = {
            {Path("new.txt"), "new"}, {Path("a.txt"), "new a"}, {Path("b.txt"), "new b"}};
        if (!failingLast) std::swap(files[1], files[2]);
        const auto failure = [&]() -> std::string {
            try {
                ReplaceFilesTogether(dir_, files);
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
    SetFileStepObserver(nullptr);
}

}  // namespace
}  // namespace devical::storage::testing
