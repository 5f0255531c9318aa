#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <system_error>
#include <utility>

#include "engine/builtin_texts.h"
#include "storage/directory_lock.h"
#include "storage/file_staging.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace fs = std::filesystem;

namespace staging {

namespace {

FileStepObserver observer = nullptr;

constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kRandomLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsRandomLetter(char c) { return kRandomLetters.find(c) != std::string_view::npos; }

std::string SystemReason(int error) { return std::generic_category().message(error); }

// Owns a descriptor so that every early exit closes it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool IsWithin(const fs::path& path, const fs::path& directory) {
    const auto [end, rest] = std::mismatch(directory.begin(), directory.end(), path.begin(), path.end());
    return end == directory.end() && rest != path.end();
}

// The file to replace: the target itself, or the file its link points to. A link that
// points to nothing is an error (replacing it with a file would cut the user's link), and so
// is one that leaves its directory: a list file must not become a way to write elsewhere.
fs::path ResolvedTarget(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) return target;
    const fs::path resolved = fs::canonical(target, error);
    if (error) Fail("CannotWrite", target, error.value());
    const fs::path home = fs::canonical(target.has_parent_path() ? target.parent_path() : fs::path("."), error);
    if (error || !IsWithin(resolved, home))
        Fail("CannotWrite", target, engine::BuiltInText("LinkOutside", {resolved.string()}));
    return resolved;
}

// The process umask, read without changing it: umask() alone would open a moment in which
// files created by other threads get no mask at all.
mode_t ProcessUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The rewritten file's mode: the existing file's, or what a new file gets from the umask.
// A file the user may not write, or made read-only, is not rewritten: the rename would
// otherwise replace it whatever its permissions (root passes access(), hence the mode test).
mode_t ModeFor(const fs::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) Fail("CannotWrite", target, errno);
        return 0666 & ~ProcessUmask();
    }
    RefuseUnwritable(target, info);
    return info.st_mode & 07777;
}

std::string RandomLetters() {
    unsigned char random[kRandomLength];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        for (unsigned char& byte : random)
            byte = static_cast<unsigned char>(std::rand());
    }
    std::string letters;
    for (const unsigned char byte : random)
        letters += kRandomLetters[byte % kRandomLetters.size()];
    return letters;
}

// A new file of a name nobody else uses: O_EXCL refuses whatever stands there, a planted
// link included, and another writer's temporary file is never touched.
std::pair<int, fs::path> CreateTemporary(const fs::path& target) {
    for (int attempt = 0;; ++attempt) {
        fs::path temporary = target;
        temporary += "." + RandomLetters() + std::string(kTemporarySuffix);
        Notify(FileStep::CreateTemporary, temporary);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) return {fd, temporary};
        if (errno != EEXIST || attempt == 100) Fail("CannotCreate", temporary, errno);
    }
}

}  // namespace

void Fail(std::string_view what, const fs::path& path, const std::string& reason) {
    throw FileError(engine::BuiltInText(what) + " " + path.string() + "\n" + reason);
}

void Fail(std::string_view what, const fs::path& path, int error) { Fail(what, path, SystemReason(error)); }

void RefuseUnwritable(const fs::path& target, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) Fail("CannotWrite", target, EISDIR);
    if (!S_ISREG(info.st_mode)) Fail("CannotWrite", target, engine::BuiltInText("NotRegularFile"));
    if (::access(target.c_str(), W_OK) != 0) Fail("CannotWrite", target, errno);
    if ((info.st_mode & 0222) == 0) Fail("CannotWrite", target, EACCES);
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category());
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void Notify(FileStep step, const fs::path& path) {
    if (observer) observer(step, path);
}

StagedFile Stage(const fs::path& target, std::string_view bytes) {
    const fs::path real = ResolvedTarget(target);
    const mode_t mode = ModeFor(real);
    auto [fd, temporary] = CreateTemporary(real);
    Descriptor file(fd);
    try {
        if (::fchmod(file.get(), mode) != 0) throw std::system_error(errno, std::generic_category());
        WriteAll(file.get(), bytes);
        Notify(FileStep::SyncFile, temporary);
        if (::fsync(file.get()) != 0) throw std::system_error(errno, std::generic_category());
        if (::close(file.release()) != 0) throw std::system_error(errno, std::generic_category());
    } catch (const std::system_error& failure) {
        ::unlink(temporary.c_str());
        Fail("CannotWrite", real, failure.code().value());
    }
    return {real, temporary};
}

void Commit(const StagedFile& staged) {
    Notify(FileStep::Rename, staged.target);
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        const int error = errno;
        ::unlink(staged.temporary.c_str());
        Fail("CannotWrite", staged.target, error);
    }
}

void SyncDirectory(const fs::path& directory) {
    // A rename is only durable once the directory itself reaches the disk.
    Notify(FileStep::SyncDirectory, directory);
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

namespace {

std::mutex noticesMutex;
std::vector<std::string>& Notices() {
    static std::vector<std::string> notices;
    return notices;
}

}  // namespace

void AddNotice(std::string notice) {
    std::lock_guard guard(noticesMutex);
    Notices().push_back(std::move(notice));
}

bool IsTemporaryName(std::string_view name) {
    const std::size_t fixed = 1 + kRandomLength + kTemporarySuffix.size();
    if (name.size() <= fixed || !name.ends_with(kTemporarySuffix)) return false;
    const std::string_view random = name.substr(name.size() - kTemporarySuffix.size() - kRandomLength, kRandomLength);
    return name[name.size() - fixed] == '.' && std::all_of(random.begin(), random.end(), IsRandomLetter);
}

bool IsTemporaryNameFor(std::string_view name, std::string_view targetName) {
    return IsTemporaryName(name) && name.size() == targetName.size() + 1 + kRandomLength + kTemporarySuffix.size() &&
           name.starts_with(targetName);
}

}  // namespace staging

void SetFileStepObserver(FileStepObserver observer) { staging::observer = observer; }

std::vector<std::string> TakeStorageNotices() {
    std::lock_guard guard(staging::noticesMutex);
    return std::exchange(staging::Notices(), {});
}

namespace {

// FNV-1a: stable from one build to the next, and fast enough to run over every list saved.
constexpr std::uint64_t kHashStart = 14695981039346656037ull;

std::uint64_t ContentHash(std::string_view bytes, std::uint64_t hash = kHashStart) {
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ull;
    }
    return hash;
}

FileStamp StampFrom(const struct stat& info, std::uint64_t size, std::uint64_t contentHash) {
    return {true,
            static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino),
            size,
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            contentHash};
}

FileStamp StampFrom(const struct stat& info, std::string_view bytes) {
    return StampFrom(info, bytes.size(), ContentHash(bytes));
}

// Opened without blocking: a FIFO would otherwise hold the program until a writer came.
// Only a regular file is read; the descriptor comes back with what fstat said of it.
int OpenRegularFile(const fs::path& path, struct stat& info) {
    staging::Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) staging::Fail("CannotOpen", path, errno);
    if (::fstat(file.get(), &info) != 0) staging::Fail("CannotOpen", path, errno);
    if (S_ISDIR(info.st_mode)) staging::Fail("CannotRead", path, EISDIR);
    if (!S_ISREG(info.st_mode)) staging::Fail("CannotRead", path, engine::BuiltInText("NotRegularFile"));
    return file.release();
}

// Each block read goes to take, until the end of the file or until take returns false.
template <typename Take>
void ReadBlocks(int fd, const fs::path& path, Take take) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) return;
        if (got < 0) {
            if (errno == EINTR) continue;
            staging::Fail("CannotRead", path, errno);
        }
        if (!take(std::string_view(buffer, static_cast<std::size_t>(got)))) return;
    }
}

std::string ReadBytes(const fs::path& path, FileStamp* stamp, std::uint64_t largest) {
    struct stat info {};
    const staging::Descriptor file(OpenRegularFile(path, info));
    const auto refuse = [&] {
        staging::Fail("CannotRead", path, engine::BuiltInText("FileTooBig", {std::to_string(largest >> 20)}));
    };
    if (static_cast<std::uint64_t>(info.st_size) > largest) refuse();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    ReadBlocks(file.get(), path, [&](std::string_view block) {
        if (block.size() > largest - bytes.size()) refuse();  // it grew while read
        bytes.append(block);
        return true;
    });
    if (stamp) *stamp = StampFrom(info, bytes);
    return bytes;
}

}  // namespace

std::string ReadFileBytes(const fs::path& path, FileStamp* stamp) { return ReadBytes(path, stamp, UINT64_MAX); }

std::string ReadFileBytesUpTo(const fs::path& path, std::uint64_t largest) { return ReadBytes(path, nullptr, largest); }

void ReadFileBlocks(const fs::path& path, const std::function<bool(std::string_view block)>& take, FileStamp* stamp) {
    struct stat info {};
    const staging::Descriptor file(OpenRegularFile(path, info));
    // The stamp covers the whole file, also past where take stopped.
    std::uint64_t size = 0, hash = kHashStart;
    bool taking = true;
    ReadBlocks(file.get(), path, [&](std::string_view block) {
        size += block.size();
        hash = ContentHash(block, hash);
        if (taking) taking = take(block);
        return taking || stamp;
    });
    if (stamp) *stamp = StampFrom(info, size, hash);
}

// A block at a time: a big file is never held whole to be stamped.
FileStamp StampOf(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return {};
    FileStamp stamp;
    ReadFileBlocks(
        path, [](std::string_view) { return false; }, &stamp);
    return stamp;
}

void ReplaceFileContents(const fs::path& target, std::string_view bytes) {
    DirectoryLock lock(target.parent_path());
    const staging::StagedFile staged = staging::Stage(target, bytes);
    staging::Commit(staged);
    staging::SyncDirectory(staged.target.parent_path());
}

FileStamp ReplaceFileIfUnchanged(const fs::path& target, std::string_view bytes, const FileStamp& expected) {
    DirectoryLock lock(target.parent_path());
    if (StampOf(target) != expected) throw StaleFile(engine::BuiltInText("ChangedMeanwhile", {target.string()}));
    ReplaceFileContents(target, bytes);
    // The stamp of what was just written, without reading it back.
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) staging::Fail("CannotRead", target, errno);
    return StampFrom(info, bytes);
}

void UpdateFileContents(const fs::path& path, const std::function<std::string(const std::string& bytes)>& change,
                        std::uint64_t largest) {
    DirectoryLock lock(path.parent_path());
    const std::string before = ReadBytes(path, nullptr, largest);
    const std::string after = change(before);
    if (after != before) ReplaceFileContents(path, after);
}

fs::path FindFileNoCase(const fs::path& directory, std::string_view name) {
    const fs::path searched = directory.empty() ? fs::path(".") : directory;
    std::error_code error;
    if (fs::exists(fs::symlink_status(searched / name, error))) return directory / name;
    for (fs::directory_iterator it(searched, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (UpperAscii(entry) == UpperAscii(name)) return directory / entry;
    }
    return directory / name;
}

}  // namespace devical::storage
