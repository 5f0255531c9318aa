// One window per program directory, whatever way reaches it.
#include "storage/instance_lock.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_dir.h"

namespace devical::storage::testing {
namespace {

namespace fs = std::filesystem;
using InstanceLockTest = TempDirTest;

TEST_F(InstanceLockTest, TheDirectoryHasOneHolderWhateverReachesIt) {
    const fs::path other = Path("elsewhere");
    fs::create_directory(other);
    const struct {
        const char* name;
        fs::path path;  // the program directory reached another way; empty when it cannot be made here
    } rows[] = {
        {"the same path", Path("")},
        {"a link to it",
         [&] {
             fs::create_directory_symlink(Path(""), other / "link");
             return other / "link";
         }()},
        {"a bind mount of it",
         [&] {
             // A mount needs a namespace of its own, which a container may refuse: then the row is skipped.
             fs::create_directory(other / "mount");
             return other / "mount";
         }()},
    };
    const InstanceLock first(Path(""));
    ASSERT_EQ(first.Result(), InstanceLock::State::Held);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const pid_t child = ::fork();
        if (child == 0) {  // another process, as a second start is
            if (row.path.filename() == "mount" &&
                (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 ::mount(Path("").c_str(), row.path.c_str(), nullptr, MS_BIND, nullptr) != 0))
                ::_exit(2);
            const InstanceLock second(row.path);
            const bool named = second.Holder() == "process " + std::to_string(::getppid()) +
                                                      second.Holder().substr(second.Holder().find(" on "));
            ::_exit(second.Result() == InstanceLock::State::HeldByOther && named ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2) {
            std::printf("no mount namespace here: %s skipped\n", row.name);
            continue;
        }
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

}  // namespace
}  // namespace devical::storage::testing
