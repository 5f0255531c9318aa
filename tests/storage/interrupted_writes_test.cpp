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

// Runs the action in a child process and gives its wait status.
template <typename Action>
int InChild(Action action, std::chrono::microseconds killAfter = std::chrono::microseconds::max()) {
    const pid_t child = ::fork();
    if (child == 0) {
        action();
        ::_exit(0);
    }
    if (killAfter != std::chrono::microseconds::max()) {
        std::this_thread::sleep_for(killAfter);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

int stepsToGo = -1;  // in a child: the steps of the rewrite it makes before it is killed

// French installed and worked on, German stored with saved amounts of its own: the files a
// switch must never lose.
class InterruptedSwitchTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        Reset();
        before_ = Files();
        InstallLanguageSet(dir_, "FR", "GM");
        after_ = Files();
        Reset();
    }

    void Reset() {
        for (const auto& entry : fs::directory_iterator(dir_))
            fs::remove_all(entry.path());
        for (const char* code : {"FR", "GM"}) {
            const std::string c = code;
            WriteBytes("Devical." + c, "[Dialogs]\r\nLangue=" + c + "\r\n");
            WriteBytes("Devical.i" + c, "[Currency]\r\nTitle=" + c + " currency\r\n");
            WriteBytes("Rates." + c, c + " rates\r\n1\r\n");
            WriteBytes("Taxes." + c, c + " taxes\r\n20\r\n");
            WriteBytes("Memory." + c, c + " shipped\r\n1\r\n1\r\n");
        }
        WriteBytes("Memory.GM", Bytes("Memory.GM") + "DEM German marker\r\n7\r\n3,58\r\n");
        for (const LanguageSetFile& file : kLanguageSetFiles)
            WriteBytes(std::string(file.workingName), Bytes(std::string(file.storedPrefix) + "FR"));
        WriteBytes("Memory.txt", Bytes("Memory.txt") + "FRF French marker\r\n5\r\n0,76\r\n");
    }

    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(dir_))
            files[entry.path().filename().string()] = BytesAt(entry.path());
        return files;
    }

    std::string Installed() const { return IniRead(Path("DEVICAL.LAN"), "Dialogs", "Langue", "?"); }

    // After the kill, the next start: the old set or the new one, every file whole, and both
    // markers still there after a further switch.
    void ExpectWholeAfterRestart() {
        FinishInterruptedWrites(dir_);
        const Snapshot now = Files();
        EXPECT_TRUE(now == before_ || now == after_) << "installed " << Installed();
        EXPECT_TRUE(NoTemporaryLeft());
        const bool german = Installed() == "GM";
        InstallLanguageSet(dir_, german ? "GM" : "FR", german ? "FR" : "GM");
        const std::string french = Bytes(german ? "Memory.txt" : "Memory.FR");
        const std::string stored = Bytes(german ? "Memory.GM" : "Memory.txt");
        EXPECT_NE(french.find("French marker"), std::string::npos);
        EXPECT_NE(stored.find("German marker"), std::string::npos);
    }

    Snapshot before_, after_;
};

TEST_F(InterruptedSwitchTest, AKillAtAnyStepLeavesOneWholeSetAndEveryUsersFile) {
    static int steps;
    steps = 0;
    SetFileStepObserver([](FileStep, const fs::path&) { ++steps; });
    InstallLanguageSet(dir_, "FR", "GM");
    SetFileStepObserver(nullptr);
    Reset();
    const int total = steps;
    ASSERT_GT(total, 20);  // nine files staged and renamed, the journal written and removed

    for (int step = 0; step < total; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        const int status = InChild([this, step] {
            stepsToGo = step;
            SetFileStepObserver([](FileStep, const fs::path&) {
                if (stepsToGo-- == 0) ::raise(SIGKILL);
            });
            InstallLanguageSet(dir_, "FR", "GM");
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectWholeAfterRestart();
        Reset();
    }
}

TEST_F(InterruptedSwitchTest, AKillAtRandomInstantsLeavesOneWholeSet) {
    const auto start = std::chrono::steady_clock::now();
    InChild([this] { InstallLanguageSet(dir_, "FR", "GM"); });
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    Reset();
    std::mt19937 random(20261207);
    for (int round = 0; round < 12; ++round) {
        const std::chrono::microseconds delay(std::uniform_int_distribution<long>(0, span.count())(random));
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us");
        InChild([this] { InstallLanguageSet(dir_, "FR", "GM"); }, delay);
        ExpectWholeAfterRestart();
        Reset();
    }
}

using TwoWritersTest = TempDirTest;

// Two processes on one settings file, as two starts on one directory: each keeps every key it
// wrote, and no section goes missing.
TEST_F(TwoWritersTest, LoseNothingButTheOrderOfTheirWrites) {
    const std::vector<std::string> sections = {"Dialog", "Taxe", "Currency", "Memory", "Calcul", "Windows"};
    std::string settings;
    for (const std::string& section : sections)
        settings += "[" + section + "]\r\nShared=0\r\n";
    const fs::path path = WriteBytes("DEVICAL.INI", settings);
    constexpr int kWrites = 40;
    const auto writer = [&](int first) {
        return [&, first] {
            for (int n = 0; n < kWrites; ++n) {
                const std::string& section = sections[static_cast<std::size_t>(first + 2 * (n % 3))];
                IniWrite(path, section, "Key" + std::to_string(first) + "_" + std::to_string(n), std::to_string(n));
                IniWrite(path, section, "Shared", std::to_string(first));
            }
        };
    };
    const pid_t a = ::fork();
    if (a == 0) {
        writer(0)();
        ::_exit(0);
    }
    const int statusB = InChild(writer(1));
    int statusA = 0;
    ::waitpid(a, &statusA, 0);
    ASSERT_TRUE(WIFEXITED(statusA) && WIFEXITED(statusB));

    for (int first : {0, 1}) {
        for (int n = 0; n < kWrites; ++n) {
            const std::string& section = sections[static_cast<std::size_t>(first + 2 * (n % 3))];
            const std::string key = "Key" + std::to_string(first) + "_" + std::to_string(n);
            EXPECT_EQ(IniRead(path, section, key, "lost"), std::to_string(n)) << section << " " << key;
        }
    }
    for (const std::string& section : sections)
        EXPECT_NE(Bytes("DEVICAL.INI").find("[" + section + "]"), std::string::npos) << section;
    EXPECT_TRUE(NoTemporaryLeft());
}

}  // namespace
}  // namespace devical::storage::testing
