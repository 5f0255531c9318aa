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

std::mutex heldMutex;
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

}  // namespace

DirectoryLock::DirectoryLock(const std::filesystem::path& given) {
    const std::filesystem::path directory = given.empty() ? std::filesystem::path(".") : given;
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0) Fail(directory, std::generic_category().message(errno));
    const DirectoryId id{info.st_dev, info.st_ino};
    std::lock_guard guard(heldMutex);
    auto found = HeldLocks().find(id);
    if (found == HeldLocks().end())
        found = HeldLocks().emplace(id, new HeldDirectoryLock{LockedDescriptor(directory), 0}).first;
    held_ = found->second;
    ++held_->users;
}

DirectoryLock::~DirectoryLock() {
    std::lock_guard guard(heldMutex);
    if (--held_->users > 0) return;
    ::close(held_->fd);  // and with it the lock
    for (auto it = HeldLocks().begin(); it != HeldLocks().end(); ++it) {
        if (it->second == held_) {
            HeldLocks().erase(it);
            break;
        }
    }
    delete held_;
}

}  // namespace devical::storage
