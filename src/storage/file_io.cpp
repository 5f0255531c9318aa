#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include "storage/text_lines.h"

namespace devical::storage {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

[[noreturn]] void Fail(const char* what, const fs::path& path, int error) {
    throw FileError(std::string(what) + " " + path.string() + "\n" + SystemReason(error));
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) { return UpperAscii(a) == UpperAscii(b); }

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

// The file to replace: the target itself, or the file its link points to. A link that
// points to nothing is an error: replacing it with a file would cut the user's link.
fs::path ResolvedTarget(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) return target;
    const fs::path resolved = fs::canonical(target, error);
    if (error) Fail("Ne peut écrire le fichier", target, error.value());
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
        if (errno != ENOENT) Fail("Ne peut écrire le fichier", target, errno);
        return 0666 & ~ProcessUmask();
    }
    if (::access(target.c_str(), W_OK) != 0) Fail("Ne peut écrire le fichier", target, errno);
    if ((info.st_mode & 0222) == 0) Fail("Ne peut écrire le fichier", target, EACCES);
    return info.st_mode & 07777;
}

// The temporary file, new and never followed: whatever is left at its name, a planted link
// included, goes first; what cannot be removed makes the creation fail.
int CreateTemporary(const fs::path& temporary) {
    ::unlink(temporary.c_str());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) Fail("Ne peut créer le fichier", temporary, errno);
    return fd;
}

void SyncDirectory(const fs::path& directory) {
    // The rename is only durable once the directory itself reaches the disk.
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string ReadFileBytes(const fs::path& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) Fail("Ne peut ouvrir le fichier", path, errno);
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("Ne peut lire le fichier", path, errno);
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

fs::path TemporaryPathFor(const fs::path& target) {
    std::string name = target.filename().string();
    name = name.size() > 3 ? name.substr(0, name.size() - 3) + "Old" : name + ".Old";
    return target.parent_path() / name;
}

namespace {

// A new content written beside its target, synced, waiting for its rename.
struct StagedFile {
    fs::path target;  // the file replaced: a link's destination, not the link
    fs::path temporary;
};

StagedFile Stage(const fs::path& target, std::string_view bytes, fs::path (*temporaryFor)(const fs::path&)) {
    const fs::path real = ResolvedTarget(target);
    const fs::path temporary = temporaryFor(real);
    const mode_t mode = ModeFor(real);

    Descriptor file(CreateTemporary(temporary));
    try {
        if (::fchmod(file.get(), mode) != 0) throw std::system_error(errno, std::generic_category());
        WriteAll(file.get(), bytes);
        if (::fsync(file.get()) != 0) throw std::system_error(errno, std::generic_category());
        if (::close(file.release()) != 0) throw std::system_error(errno, std::generic_category());
    } catch (const std::system_error& failure) {
        ::unlink(temporary.c_str());
        Fail("Ne peut écrire le fichier", real, failure.code().value());
    }
    return {real, temporary};
}

void Commit(const StagedFile& staged) {
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        const int error = errno;
        ::unlink(staged.temporary.c_str());
        Fail("Ne peut écrire le fichier", staged.target, error);
    }
}

// Files replaced together each get a temporary of their own: DEVICAL.INI and DEVICAL.LAN
// would share DEVICAL.Old.
fs::path BatchTemporaryFor(const fs::path& target) { return target.string() + ".new"; }

}  // namespace

void ReplaceFileContents(const fs::path& target, std::string_view bytes) {
    const StagedFile staged = Stage(target, bytes, TemporaryPathFor);
    Commit(staged);
    SyncDirectory(staged.target.parent_path());
}

void ReplaceFilesTogether(const std::vector<FileContents>& files) {
    // What each target holds now, to put back should a rename fail half way.
    std::vector<std::optional<std::string>> before;
    for (const FileContents& file : files) {
        std::error_code error;
        const bool holdsBytes = fs::is_regular_file(file.path, error);
        before.push_back(holdsBytes ? std::optional(ReadFileBytes(file.path)) : std::nullopt);
    }
    std::vector<StagedFile> staged;
    try {
        for (const FileContents& file : files)
            staged.push_back(Stage(file.path, file.bytes, BatchTemporaryFor));
    } catch (const FileError&) {
        for (const StagedFile& file : staged)
            ::unlink(file.temporary.c_str());
        throw;
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        try {
            Commit(staged[i]);
        } catch (const FileError&) {
            for (std::size_t later = i + 1; later < staged.size(); ++later)
                ::unlink(staged[later].temporary.c_str());
            for (std::size_t done = 0; done < i; ++done) {
                try {
                    if (before[done]) {
                        ReplaceFileContents(staged[done].target, *before[done]);
                    } else {
                        ::unlink(staged[done].target.c_str());
                    }
                } catch (const FileError&) {  // the first failure is the one to report
                }
            }
            throw;
        }
    }
    std::vector<fs::path> directories;
    for (const StagedFile& file : staged) {
        if (std::find(directories.begin(), directories.end(), file.target.parent_path()) == directories.end())
            directories.push_back(file.target.parent_path());
    }
    for (const fs::path& directory : directories)
        SyncDirectory(directory);
}

fs::path FindFileNoCase(const fs::path& directory, std::string_view name) {
    const fs::path searched = directory.empty() ? fs::path(".") : directory;
    std::error_code error;
    if (fs::exists(searched / name, error)) return directory / name;
    for (fs::directory_iterator it(searched, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (SameNameIgnoringCase(entry, name)) return directory / entry;
    }
    return directory / name;
}

}  // namespace devical::storage
