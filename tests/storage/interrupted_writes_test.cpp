// The files survive what a desktop throws at them: a language switch killed at any moment,
// two processes writing the settings at once.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/language_set.h"
#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;
using Snapshot = std::map<std::string, std::string>;
using namespace std::string_view_literals;

// Runs the action in a child process while the parent does its part, and gives the child's
// wait status.
template <typename Action, typename Meanwhile>
int InChild(Action action, Meanwhile meanwhile) {
    const pid_t child = ::fork();
    if (child == 0) {
        action();
        ::_exit(0);
    }
    meanwhile(child);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

int stepsToGo = -1;  // in a child: the rewrite's steps it makes before it is killed

// French installed and worked on, German stored with saved amounts of its own: the files a
// switch must never lose.
class InterruptedSwitchTest : public TempDirTest {
protected:
    void Reset() {
        for (const auto& entry : fs::directory_iterator(dir_))
            fs::remove_all(entry.path());
        for (const std::string code : {"FR", "GM"}) {
            for (const LanguageSetFile& file : kLanguageSetFiles)
                WriteBytes(std::string(file.storedPrefix) + code, "[Dialogs]\r\nLangue=" + code + "\r\n");
        }
        WriteBytes("Memory.GM", "DEM German marker\r\n7\r\n3,58\r\n");
        for (const LanguageSetFile& file : kLanguageSetFiles)
            WriteBytes(std::string(file.workingName), Bytes(std::string(file.storedPrefix) + "FR"));
        WriteBytes("Memory.txt", "FRF French marker\r\n5\r\n0,76\r\n");
    }
    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(dir_))
            files[entry.path().filename().string()] = BytesAt(entry.path());
        return files;
    }
    void Switch() { InstallLanguageSet(dir_, "FR", "GM"); }
};

// Killed at each step of its rewrite, then at random instants, a switch leaves at the next
// start the old set or the new one, whole, and both saved amounts survive a further switch.
TEST_F(InterruptedSwitchTest, AKillAtAnyMomentLeavesOneWholeSetAndEveryUsersFile) {
    Reset();
    const Snapshot before = Files();
    static int steps = 0;
    SetFileStepObserver([](FileStep, const fs::path&) { ++steps; });
    const auto start = std::chrono::steady_clock::now();
    Switch();
    const auto span = std::chrono::steady_clock::now() - start;
    SetFileStepObserver(nullptr);
    const Snapshot after = Files();
    ASSERT_GT(steps, 20);  // nine files staged and renamed, the journal written and removed

    std::mt19937 random(20261207);
    for (int kill = 0; kill < steps + 12; ++kill) {
        Reset();
        if (kill < steps) {
            SCOPED_TRACE("killed at step " + std::to_string(kill));
            ASSERT_TRUE(WIFSIGNALED(InChild(
                [this, kill] {
                    stepsToGo = kill;
                    SetFileStepObserver([](FileStep, const fs::path&) {
                        if (stepsToGo-- == 0) ::raise(SIGKILL);
                    });
                    Switch();
                },
                [](pid_t) {})));
        } else {
            const auto delay = span * std::uniform_real_distribution<>(0, 1.5)(random);
            InChild([this] { Switch(); },
                    [delay](pid_t child) {
                        std::this_thread::sleep_for(delay);
                        ::kill(child, SIGKILL);
                    });
        }
        SCOPED_TRACE("kill " + std::to_string(kill));
        FinishInterruptedWrites(dir_);  // the next start
        const Snapshot now = Files();
        EXPECT_TRUE(now == before || now == after);
        const bool german = now == after;
        InstallLanguageSet(dir_, german ? "GM" : "FR", german ? "FR" : "GM");
        EXPECT_NE(Bytes(german ? "Memory.txt" : "Memory.FR").find("French marker"), std::string::npos);
        EXPECT_NE(Bytes(german ? "Memory.GM" : "Memory.txt").find("German marker"), std::string::npos);
    }
}

// A switch whose last rename fails is undone; killed at each step of the undo once its journal
// is in place, it leaves at the next start the old set whole, and no stored file that it had
// created (Memory.FR): the undo's journal names the files to remove as well as those to put back.
TEST_F(InterruptedSwitchTest, AKillDuringTheUndoOfAFailedSwitchLeavesTheOldSet) {
    static bool failed, undoJournaled;
    int kill = 0;
    for (;; ++kill) {
        SCOPED_TRACE("killed at step " + std::to_string(kill) + " after the undo's journal");
        Reset();
        fs::remove(Path("Memory.FR"));
        const Snapshot before = Files();
        const int status = InChild(
            [this, kill] {
                failed = undoJournaled = false;
                stepsToGo = kill;
                SetFileStepObserver([](FileStep step, const fs::path& path) {
                    if (undoJournaled && stepsToGo-- == 0) ::raise(SIGKILL);
                    undoJournaled |= failed && step == FileStep::Rename && path.filename() == kJournalName;
                    if (step != FileStep::Rename || path.filename() != "Memory.txt") return;
                    failed = true;  // its new bytes gone, the rename fails
                    for (const auto& entry : fs::directory_iterator(path.parent_path())) {
                        if (entry.path().filename().string().starts_with("Memory.txt.")) fs::remove(entry.path());
                    }
                });
                try {
                    Switch();
                } catch (const FileError&) {
                }
            },
            [](pid_t) {});
        FinishInterruptedWrites(dir_);  // the next start
        EXPECT_EQ(Files(), before);
        if (WIFEXITED(status)) break;
        ASSERT_LT(kill, 40);
    }
    EXPECT_GE(kill, 9);  // killed before each of the undo's eight renames and removals, and after
}

// Three files of a devical-rates killed between its journal and its last rename, and two
// files it does not touch.
class LeftJournalTest : public TempDirTest {
protected:
    static constexpr std::pair<const char*, const char*> kFiles[] = {
        {"Rates.txt", "r0"}, {"DEVICAL.INI", "i0"}, {"Taxes.txt", "t0"}, {"memory.fr", "m0"}, {"notes.txt", "n0"}};
    void Reset() {
        for (const auto& entry : fs::directory_iterator(dir_))
            fs::remove_all(entry.path());
        for (const auto& [name, bytes] : kFiles)
            WriteBytes(name, bytes);
        TakeStorageNotices();
    }
    void KillChange(int renames) {
        stepsToGo = renames + 1;  // the journal's own rename comes first
        InChild(
            [this] {
                SetFileStepObserver([](FileStep step, const fs::path&) {
                    if (step == FileStep::Rename && stepsToGo-- == 0) ::raise(SIGKILL);
                });
                ReplaceFilesTogether(
                    dir_, {{Path("Rates.txt"), "r1"}, {Path("DEVICAL.INI"), "i1"}, {Path("Taxes.txt"), "t1"}});
            },
            [](pid_t) {});
    }
    std::string State() const {
        std::string state;
        for (const auto& [name, bytes] : kFiles)
            state += (fs::exists(Path(name)) ? Bytes(name) : "-") + "|";
        return state;
    }
};

// A hand edit after the kill: a new file, or a letter changed in place with the file's time
// put back, so that only its content tells.
void Edit(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return void(std::ofstream(path) << "hand");
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << "T";
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The next start completes a left journal, but not over a file changed since the change was
// staged; it removes only the program's own set files, and sets aside a journal it cannot trust.
TEST_F(LeftJournalTest, TheNextStartCompletesTheChangeSaveWhatChangedSince) {
    struct Row {
        const char* name;
        int renames;               // the change killed after so many of them, unless
        std::string_view journal;  // one is left by hand (@ for the folder)
        const char* edited;        // then by hand
        const char* after;         // Rates.txt|DEVICAL.INI|Taxes.txt|memory.fr|notes.txt|
        const char* kept;          // the file a notice names as kept
        const char* aside;         // where a notice says the journal was set aside
    };
    const Row rows[] = {
        {"killed before a rename", 0, "", "", "r1|i1|t1|m0|n0|", "", ""},
        {"killed after one, Taxes.txt edited", 1, "", "Taxes.txt", "r1|i1|T0|m0|n0|", "Taxes.txt", ""},
        {"killed after two, DEVICAL.INI edited", 2, "", "DEVICAL.INI", "r1|T1|t1|m0|n0|", "", ""},
        {"version 1", 0, "Devical journal 1\n@Taxes.txt.AbC123.tmp\0@Taxes.txt\0"sv, "Taxes.txt.AbC123.tmp",
         "r0|i0|hand|m0|n0|", "", ""},
        {"removal of a stored set file", 0, "Devical journal 1\n\0@memory.fr\0"sv, "", "r0|i0|t0|-|n0|", "", ""},
        {"removal of another file", 0, "Devical journal 1\n\0@notes.txt\0"sv, "", "r0|i0|t0|m0|n0|", "",
         "DEVICAL.JNL.damaged"},
        {"removal under a nine-letter code", 0, "Devical journal 1\n\0@Memory.ABCDEFGHI\0"sv, "", "r0|i0|t0|m0|n0|", "",
         "DEVICAL.JNL.damaged"},
        {"cut short, one set aside before", 0, "Devical journal 2\n@Taxes.txt", "DEVICAL.JNL.damaged",
         "r0|i0|t0|m0|n0|", "", "DEVICAL.JNL.damaged.2"},
        {"an entry missing its target", 0,
         "Devical journal 1\n@Taxes.txt.AbC123.tmp\0@Taxes.txt\0@Rates.txt.AbC123.tmp\0"sv, "Taxes.txt.AbC123.tmp",
         "r0|i0|t0|m0|n0|", "", "DEVICAL.JNL.damaged"},
        {"a file outside the folder", 0, "Devical journal 1\n@../Taxes.txt.AbC123.tmp\0@../Taxes.txt\0"sv, "",
         "r0|i0|t0|m0|n0|", "", "DEVICAL.JNL.damaged"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Reset();
        std::string journal(row.journal);
        for (auto at = journal.find('@'); at != std::string::npos; at = journal.find('@', at))
            journal.replace(at, 1, dir_.string() + "/");
        if (journal.empty()) KillChange(row.renames);
        if (!journal.empty()) WriteBytes("DEVICAL.JNL", journal);
        if (*row.edited) Edit(Path(row.edited));
        EXPECT_NO_THROW(FinishInterruptedWrites(dir_));  // the next start
        EXPECT_EQ(State(), row.after);
        std::vector<std::string> notices;
        if (*row.kept) notices.push_back(engine::BuiltInText("JournalFileKept", {Path(row.kept).string()}));
        if (*row.aside) notices.push_back(engine::BuiltInText("JournalSetAside", {Path(row.aside).string()}));
        EXPECT_EQ(TakeStorageNotices(), notices);
        EXPECT_EQ(*row.aside ? Bytes(row.aside) : "", *row.aside ? journal : "");
        EXPECT_TRUE(NoTemporaryLeft());
    }
}

// Whoever next locks the folder completes the journal before writing: a key written after the
// kill is written into the new set, and stays there once the next start has run.
TEST_F(LeftJournalTest, AWriteAfterTheKillLandsOnTheCompletedSet) {
    for (const bool byAnotherProcess : {false, true}) {
        SCOPED_TRACE(byAnotherProcess ? "written by another process" : "written by this one");
        Reset();
        KillChange(0);
        const auto write = [this] { IniWrite(Path("DEVICAL.INI"), "R", "D", "x"); };
        if (byAnotherProcess) InChild(write, [](pid_t) {});
        if (!byAnotherProcess) write();
        FinishInterruptedWrites(dir_);
        EXPECT_EQ(State(), "r1|i1\r\n[R]\r\nD=x\r\n|t1|m0|n0|");
        EXPECT_EQ(TakeStorageNotices(), std::vector<std::string>());
    }
}

using TwoWritersTest = TempDirTest;

// Two processes on one settings file, as two starts on one folder: each keeps every key it
// wrote, in every section.
TEST_F(TwoWritersTest, LoseNothingButTheOrderOfTheirWrites) {
    const std::string sections[] = {"Dialog", "Taxe", "Currency", "Memory", "Calcul", "Windows"};
    std::string settings;
    for (const std::string& section : sections)
        settings += "[" + section + "]\r\n";
    const fs::path path = WriteBytes("DEVICAL.INI", settings);
    const auto each = [&](int writer, auto use) {
        for (int n = 0; n < 40; ++n)
            use(sections[writer + 2 * (n % 3)], "Key" + std::to_string(writer) + "_" + std::to_string(n), n);
    };
    const auto write = [&](int writer) {
        each(writer, [&](const std::string& section, const std::string& key, int n) {
            IniWrite(path, section, key, std::to_string(n));
        });
    };
    ASSERT_TRUE(WIFEXITED(InChild([&] { write(0); }, [&](pid_t) { write(1); })));
    for (int writer : {0, 1}) {
        each(writer, [&](const std::string& section, const std::string& key, int n) {
            EXPECT_EQ(IniRead(path, section, key, "lost"), std::to_string(n)) << key;
        });
    }
    EXPECT_TRUE(NoTemporaryLeft());
}

}  // namespace
}  // namespace devical::storage::testing
