// The program's own INI-style routines. Their matching rules are looser than usual and
// the stored files rely on them: a header or entry is found anywhere inside a line, keys
// match with exact letter case when reading and folded to upper case when writing, and a
// key missing from its section is read from the first later line that has it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/text_encoding.h"
#include "storage/text_lines.h"

namespace devical::storage {

// Settings and language files are a few KB: one past this is refused rather than read whole.
inline constexpr std::uint64_t kLargestIniFile = 4 << 20;

// A key-value file held in memory as its lines, in the file's own code (Windows-1252, or UTF-8
// for a file saved so), each with its own line end. Texts in and out are UTF-8.
class IniDocument {
public:
    explicit IniDocument(std::string_view fileBytes);
    // Throws FileError, for a file past kLargestIniFile too.
    static IniDocument Load(const std::filesystem::path& path);

    // The value of the key, or the default when it is absent or empty.
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultText) const;

    // Replaces or adds key=value in the section; a file without the section gets it, header
    // and entry, at its end. The lines written are in the file's code and end as most of its
    // lines do; every other line keeps its bytes and its own line end.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes, including whatever followed a Ctrl+Z.
    std::string Bytes() const;

private:
    TextFormat format_;
    std::vector<FileLine> lines_;
    std::string afterText_;  // from the Ctrl+Z on: not read, but not ours to drop
};

// Reads one key of one file. Throws FileError.
std::string IniRead(const std::filesystem::path& path, std::string_view section, std::string_view key,
                    std::string_view defaultText);

// Writes one key of one file through the safe rewrite, as IniDocument::Write does. A file
// that would come out the same is left untouched. Throws FileError, for a file past
// kLargestIniFile too.
void IniWrite(const std::filesystem::path& path, std::string_view section, std::string_view key,
              std::string_view value);

}  // namespace devical::storage
