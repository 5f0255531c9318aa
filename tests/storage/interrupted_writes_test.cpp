// The files survive what a desktop throws at them: a language switch killed at any moment,
// two processes writing the settings at once.
#include <signal.h>
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
