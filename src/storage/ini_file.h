// The program's own INI-style routines. Their matching rules are looser than usual and
// the stored files rely on them: a header or entry is found anywhere inside a line, keys
// match with exact letter case when reading and folded to upper case when writing, and a
// key missing from its section is read from the first later line that has it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace devical::storage {

// A key-value file held in memory as its Windows-1252 lines. Texts in and out are UTF-8.
class IniDocument {
public:
    explicit IniDocument(std::string_view fileBytes);
    // Throws FileError.
    static IniDocument Load(const std::filesystem::path& path);

    // The value of the key, or the default when it is absent or empty.
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultText) const;

    // Replaces or adds key=value in the section; false, with nothing changed, when the
    // file has no such section.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes: every line ending in CR LF.
    std::string Bytes() const;

private:
    std::vector<std::string> lines_;
};

// Reads one key of one file. Throws FileError.
std::string IniRead(const std::filesystem::path& path, std::string_view section, std::string_view key,
                    std::string_view defaultText);

// Writes one key of one file through the safe rewrite. A file without the section, or
// one that already holds the value, is left untouched. Throws FileError.
void IniWrite(const std::filesystem::path& path, std::string_view section, std::string_view key,
              std::string_view value);

}  // namespace devical::storage
