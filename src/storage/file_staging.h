// The steps that the file rewrites share: a new content staged beside its target, then
// renamed over it. Internal to the file routines.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "storage/file_io.h"

namespace devical::storage::staging {

// Throws FileError: the built-in text of `what` ("CannotWrite"...), the path, the reason.
[[noreturn]] void Fail(std::string_view what, const std::filesystem::path& path, int error);
[[noreturn]] void Fail(std::string_view what, const std::filesystem::path& path, const std::string& reason);

void Notify(FileStep step, const std::filesystem::path& path);

// Throws FileError for a target that is not a regular file, or that may not be written (no
// write bit, or access() refuses): such a file keeps its bytes.
void RefuseUnwritable(const std::filesystem::path& target, const struct stat& info);

// Every byte to the descriptor, through interruptions; throws std::system_error.
void WriteAll(int fd, std::string_view bytes);

// A new content written beside its target, synced, waiting for its rename.
struct StagedFile {
    std::filesystem::path target;  // the file replaced: a link's destination, not the link
    std::filesystem::path temporary;
};

// Writes and syncs the bytes into a new temporary file beside the target, with the target's
// mode. Throws FileError, with nothing left behind.
StagedFile Stage(const std::filesystem::path& target, std::string_view bytes);

// Renames the staged file over its target; on failure removes it and throws FileError.
void Commit(const StagedFile& staged);

void SyncDirectory(const std::filesystem::path& directory);

// Queues a sentence for TakeStorageNotices.
void AddNotice(std::string notice);

// Completes the journal that a killed change left in the directory, or sets it aside when it
// cannot be trusted. Run with the directory's lock held, by the hold that took it for the
// process: never in the middle of one of the process's own changes. Throws FileError.
void CompleteJournal(const std::filesystem::path& directory);

// Whether a file name is one that Stage gives its temporary files: the target's name, a
// dot, six letters or digits and ".tmp".
bool IsTemporaryName(std::string_view name);
bool IsTemporaryNameFor(std::string_view name, std::string_view targetName);

}  // namespace devical::storage::staging
