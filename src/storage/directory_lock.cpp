#include "storage/directory_lock.h"
#include "engine/builtin_texts.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

#include "storage/file_io.h"
#include "storage/file_staging.h"

namespace devical::storage {

namespace {

// A writer holds the lock for a few file writes; one that holds it longer is stuck, and the
// user is told rather than kept waiting.
constexpr std::chrono::seconds kLockWait{5};
constexpr int kRetryMs = 5;

using DirectoryId = std::pair<dev_t, ino_t>;

}  // namespace

// One per directory locked by this process: a second descriptor's flock would wait for the
// first one's.
struct HeldDirectoryLock {
    int fd = -1;
    int users = 0;
};

namespace {

// Recursive: the journal's completion runs under it, and anything it calls may lock again.
std::recursive_mutex heldMutex;
std::map<DirectoryId, HeldDirectoryLock*>& HeldLocks() {
    static std::map<DirectoryId, HeldDirectoryLock*> locks;
    return locks;
}

[[noreturn]] void Fail(const std::filesystem::path& directory, const std::string& reason) {
    throw FileError(engine::BuiltInText("CannotLock") + " " + directory.string() + "\n" + reason);
}

int LockedDescriptor(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(directory, std::generic_category().message(errno));
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            Fail(directory,
                 error == EWOULDBLOCK ? "another program keeps writing in it" : std::generic_category().message(error));
        }
        ::poll(nullptr, 0, kRetryMs);
    }
    return fd;
}

// Called with heldMutex held.
void Release(HeldDirectoryLock* held) {
    if (--held->users > 0) return;
    ::close(held->fd);  // and with it the lock
    for (auto it = HeldLocks().begin(); it != HeldLocks().end(); ++it) {
        if (it->second == held) {
            HeldLocks().erase(it);
            break;
        }
    }
    delete held;
}

// One look, as every write pays it; the journal's name is its writer's own, never another case.
bool HoldsJournal(int directoryFd) {
    struct stat info {};
    return ::fstatat(directoryFd, std::string(kJournalName).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace

DirectoryLock::DirectoryLock(const std::filesystem::path& given) {
    const std::filesystem::path directory = given.empty() ? std::filesystem::path(".") : given;
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0) Fail(directory, std::generic_category().message(errno));
    const DirectoryId id{info.st_dev, info.st_ino};
    std::lock_guard guard(heldMutex);
    auto found = HeldLocks().find(id);
    const bool first = found == HeldLocks().end();
    if (first) found = HeldLocks().emplace(id, new HeldDirectoryLock{LockedDescriptor(directory), 0}).first;
    held_ = found->second;
    ++held_->users;
    // A journal found as the process takes the lock is a killed writer's: completed before
    // anything is read or written here, or its later completion would undo what we write. A
    // hold taken inside one of our own changes only shares the lock, so never completes it.
    // Other threads wait on heldMutex meanwhile.
    if (!first || !HoldsJournal(held_->fd)) return;
    try {
        staging::CompleteJournal(directory);
    } catch (...) {
        Release(held_);
        throw;
    }
}

DirectoryLock::~DirectoryLock() {
    std::lock_guard guard(heldMutex);
    Release(held_);
}

}  // namespace devical::storage
