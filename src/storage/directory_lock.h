// Writers of one directory take turns: another process (a second start on the same files, a
// command updating a list) must not read a file, change it and write it back while we do.
#pragma once

#include <filesystem>

namespace devical::storage {

struct HeldDirectoryLock;

// Holds the kernel's lock on the directory itself (flock on its descriptor) for its
// lifetime, so that a killed holder never leaves it taken and no lock file is needed. Taken
// again in the same process while held, it is shared, not waited for. Waits a few seconds at
// most for another holder, then throws FileError, as it does when the directory cannot be
// opened.
// Taken while the process does not hold it yet, it first completes the change that a killed
// writer's journal (kJournalName) names, so that no write lands on a half-changed set and is
// then overwritten by that change's completion; see TakeStorageNotices for what the user is
// told. Throws FileError, holding nothing, when that completion fails.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::filesystem::path& directory);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

private:
    HeldDirectoryLock* held_;
};

}  // namespace devical::storage
