// One window per program directory, whatever reaches it: another path, a link, a bind mount,
// another session or runtime directory. The lock is the kernel's, on a file inside the
// directory itself, held for the life of the process: it goes with the process, however it ends.
#pragma once

#include <filesystem>
#include <string>

namespace devical::storage {

inline constexpr std::string_view kInstanceLockName = "DEVICAL.LCK";

class InstanceLock {
public:
    enum class State {
        Held,         // this process is the directory's one window
        HeldByOther,  // Holder() says who
        Unguarded,    // no lock could be made there (a read-only directory): Problem() says why
    };

    // Tries once, without waiting.
    explicit InstanceLock(const std::filesystem::path& directory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State Result() const { return state_; }
    // "process 1234 on host", as the holder wrote it; empty when it wrote nothing.
    const std::string& Holder() const { return holder_; }
    const std::string& Problem() const { return problem_; }

private:
    int fd_ = -1;
    State state_ = State::Unguarded;
    std::string holder_;
    std::string problem_;
};

}  // namespace devical::storage
