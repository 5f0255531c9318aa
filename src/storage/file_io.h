// Whole-file reading, and rewriting that can never leave a file half written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace devical::storage {

// A file that could not be read or written; what() names the file and the system's reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a file was when it was read or written: enough to tell that another writer has
// changed or replaced it since (its identity, size, time and content).
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t contentHash = 0;
    bool operator==(const FileStamp&) const = default;
};

// Throws FileError ("Ne peut ouvrir le fichier ..."). Only a regular file is read: anything
// else (a FIFO, a device, a directory) is refused without waiting on it. With stamp, what the
// file was as read.
std::string ReadFileBytes(const std::filesystem::path& path, FileStamp* stamp = nullptr);

// As ReadFileBytes, for a file that is only ever small (settings, texts): one of more than
// `largest` bytes (a whole number of MiB, as the message gives it) is refused with FileError
// naming the file and the limit, instead of being read whole.
std::string ReadFileBytesUpTo(const std::filesystem::path& path, std::uint64_t largest);

// Reads the file as ReadFileBytes does, a block at a time, for a reader that keeps only part
// of it: `take` gets the blocks in the file's order until its end, or until it returns false.
// Throws FileError.
// With stamp, what the whole file was as read.
void ReadFileBlocks(const std::filesystem::path& path, const std::function<bool(std::string_view block)>& take,
                    FileStamp* stamp = nullptr);

// The file as it is now; a missing one gives a stamp that does not exist. Throws FileError.
FileStamp StampOf(const std::filesystem::path& path);

// Another writer changed the file since it was read: nothing was written.
class StaleFile : public FileError {
public:
    using FileError::FileError;
};

// Writes the bytes to a temporary file of its own beside the target (a new name each time,
// created with O_EXCL and never through a link), flushes and syncs it, then renames it over
// the target in one step, under the directory's lock. On any failure the target keeps its old
// bytes, the temporary file is removed and FileError is thrown.
// - The file keeps its mode; a new one gets 0666 less the umask.
// - A file that may not be written (no write bit, or access() refuses) is not replaced, nor
//   is anything but a regular file.
// - A symbolic link stays a link: the file it points to is the one replaced. A link that
//   points to nothing, or out of the link's own directory, is an error.
void ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes);

// As ReplaceFileContents, only while the file is still what it was when read (expected; a
// stamp that does not exist for a file not there yet), checked and written in one hold of
// the lock. Otherwise throws StaleFile and writes nothing. The stamp of the new file comes back.
FileStamp ReplaceFileIfUnchanged(const std::filesystem::path& target, std::string_view bytes,
                                 const FileStamp& expected);

// Reads the file, hands its bytes to change and writes back what comes out, all under the
// directory's lock: two processes updating one file both keep their change. A file that
// would come out the same is left untouched; one of more than `largest` bytes is refused as
// ReadFileBytesUpTo refuses it. Throws FileError.
void UpdateFileContents(const std::filesystem::path& path,
                        const std::function<std::string(const std::string& bytes)>& change,
                        std::uint64_t largest = UINT64_MAX);

struct FileContents {
    std::filesystem::path path;
    std::string bytes;
};

// Replaces several files of the directory as ReplaceFileContents does, all or none, even
// when the process is killed half way. Every new content is written and synced beside its
// target first; then the journal (kJournalName), listing what is to be renamed, is written
// and synced: it is the point past which the change is made whole, here or, after a kill, by
// the next process to take the directory's lock (DirectoryLock), before it reads or writes
// anything there. That completion leaves alone a file changed since the change was staged (the
// journal records each target's FileStamp). Should a rename fail, the files already renamed
// get their old bytes back the same way. Throws FileError naming the file that failed.
void ReplaceFilesTogether(const std::filesystem::path& directory, const std::vector<FileContents>& files);

inline constexpr std::string_view kJournalName = "DEVICAL.JNL";

// Completes a ReplaceFilesTogether cut short by the end of its process, as taking the
// directory's lock does, and removes the temporary files that writers killed half way left
// behind. Run at start-up, before any file of the directory is read. Throws FileError.
void FinishInterruptedWrites(const std::filesystem::path& directory);

// What the user must be told about the files of a program directory, not said yet: each a
// sentence in the built-in texts' language of the moment, naming the file concerned. A change
// that a killed process left half made (its journal) is completed by whoever next takes the
// directory's lock, at start-up or before a write; it leaves a notice here when it keeps a
// file that was changed since the change was staged (the newer bytes win, the change stays
// incomplete for that file), and when it sets aside a journal that cannot be trusted (renamed
// DEVICAL.JNL.damaged, the change left as it stands). Nothing else reports these: the write
// that triggered them goes on and succeeds.
// Each call hands over, oldest first, the notices gathered since the previous call in the
// process and empties the queue; safe to call from any thread. A program shows them after
// its start and after each write (the window in a message, devical-rates on its output).
std::vector<std::string> TakeStorageNotices();

// The file of that name in the directory whatever the letter case of its name, or, when
// there is none, the directory followed by the name as given.
std::filesystem::path FindFileNoCase(const std::filesystem::path& directory, std::string_view name);

// What a rewrite is about to do, for tests that check the order of its steps or stop the
// process at one of them. path: the file concerned (the temporary file, or the target of a
// rename).
enum class FileStep { CreateTemporary, SyncFile, Rename, SyncDirectory, Remove };
using FileStepObserver = void (*)(FileStep step, const std::filesystem::path& path);
void SetFileStepObserver(FileStepObserver observer);

}  // namespace devical::storage
