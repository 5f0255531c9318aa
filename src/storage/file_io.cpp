#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

namespace devical::storage {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

[[noreturn]] void Fail(const char* what, const fs::path& path, int error) {
    throw FileError(std::string(what) + " " + path.string() + "\n" + SystemReason(error));
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

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

// The file to replace: the target itself, or the file its link points to.
fs::path ResolvedTarget(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) return target;
    const fs::path resolved = fs::weakly_canonical(target, error);
    if (error) Fail("Ne peut créer le fichier", target, error.value());
    return resolved;
}

mode_t ModeFor(const fs::path& target) {
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0666;
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

void ReplaceFileContents(const fs::path& target, std::string_view bytes) {
    const fs::path real = ResolvedTarget(target);
    const fs::path temporary = TemporaryPathFor(real);
    const mode_t mode = ModeFor(real);

    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (file.get() < 0) Fail("Ne peut créer le fichier", temporary, errno);
    try {
        ::fchmod(file.get(), mode);  // the umask must not narrow the user's permissions
        WriteAll(file.get(), bytes);
        if (::fsync(file.get()) != 0) throw std::system_error(errno, std::generic_category());
        if (::close(file.release()) != 0) throw std::system_error(errno, std::generic_category());
        if (::rename(temporary.c_str(), real.c_str()) != 0) throw std::system_error(errno, std::generic_category());
    } catch (const std::system_error& failure) {
        ::unlink(temporary.c_str());
        Fail("Ne peut écrire le fichier", real, failure.code().value());
    }
    SyncDirectory(real.parent_path());
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
