// DEVICAL.LAN: every window text and the message catalogue. Read only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/messages.h"
#include "storage/ini_file.h"

namespace devical::storage {

class LanguageFile {
public:
    // Throws FileError.
    explicit LanguageFile(const std::filesystem::path& path);

    // A window text. A key missing or empty gives the default when one is given, else the
    // built-in text "section/key" in the file's language (a text newer than the file), else
    // nothing.
    std::string Text(std::string_view section, std::string_view key, std::string_view defaultText = "") const;

    // Section Dialogs over the built-in texts of this file's language.
    engine::MessageCatalogue Catalogue() const;

    // Two-letter code of this file's language; "FR" when absent.
    std::string InstalledLanguage() const;

private:
    IniDocument document_;
};

// The set whose language a program working on the directory speaks: the one installed there
// (DEVICAL.LAN), or the user's locale's while none can be read (a directory not yet seeded).
std::string SpokenLanguageIn(const std::filesystem::path& programDirectory);

}  // namespace devical::storage
