// Whole-file reading, and rewriting that can never leave a file half written.
#pragma once

#include <filesystem>
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

// Throws FileError ("Ne peut ouvrir le fichier ...").
std::string ReadFileBytes(const std::filesystem::path& path);

// The rewrite's temporary file: the target's name less its last three characters,
// followed by "Old" (DEVICAL.INI is rewritten through DEVICAL.Old).
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

// Writes the bytes to the temporary file beside the target, flushes and syncs it, then
// renames it over the target in one step. On any failure the target keeps its old bytes,
// the temporary file is removed and FileError is thrown.
// - The file keeps its mode; a new one gets 0666 less the umask.
// - A file that may not be written (no write bit, or access() refuses) is not replaced.
// - A symbolic link stays a link: the file it points to is the one replaced; a link that
//   points to nothing is an error.
// - Whatever already sits at the temporary's name is removed, never written through; when
//   it cannot be (a directory), the write fails.
void ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes);

struct FileContents {
    std::filesystem::path path;
    std::string bytes;
};

// Replaces several files as ReplaceFileContents does, all or none: every new content is
// written and synced beside its target (as name.new) before the first rename, and should a
// rename fail, the files already renamed get their old bytes back. Throws FileError naming
// the file that failed.
void ReplaceFilesTogether(const std::vector<FileContents>& files);

// The file of that name in the directory whatever the letter case of its name, or, when
// there is none, the directory followed by the name as given.
std::filesystem::path FindFileNoCase(const std::filesystem::path& directory, std::string_view name);

}  // namespace devical::storage
