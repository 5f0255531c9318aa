#include "storage/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "storage/file_io.h"

namespace devical::storage {

namespace {

std::string ThisProcess() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return "process " + std::to_string(::getpid()) + " on " + host;
}

}  // namespace

InstanceLock::InstanceLock(const std::filesystem::path& directory) {
    const std::filesystem::path path = FindFileNoCase(directory, kInstanceLockName);
    // Never through a link, never blocking on what is not a file.
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat info {};
    if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd_);
        fd_ = -1;
        errno = EINVAL;
    }
    if (fd_ < 0) {
        problem_ = path.string() + ": " + std::generic_category().message(errno);
        return;
    }
    // flock belongs to the file, not the path: every way of reaching the directory meets it.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        char text[512];
        const ssize_t got = ::pread(fd_, text, sizeof text, 0);
        holder_.assign(text, got > 0 ? static_cast<std::size_t>(got) : 0);
        while (!holder_.empty() && (holder_.back() == '\n' || holder_.back() == '\0'))
            holder_.pop_back();
        ::close(fd_);
        fd_ = -1;
        state_ = State::HeldByOther;
        return;
    }
    state_ = State::Held;
    // Who holds it, for a start that finds it taken.
    const std::string holder = ThisProcess() + "\n";
    if (::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, holder.data(), holder.size(), 0) < 0) {
        // the lock holds all the same; only the holder's name is missing
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // and with it the lock
}

}  // namespace devical::storage
