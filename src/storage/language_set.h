// Language sets: the five working files (texts, settings, rates, taxes, saved amounts) stored
// beside the program under a language code, and the switch from one set to another.
#pragma once

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace devical::storage {

// One file of a set: stored as prefix + code (Devical.FR, Devical.iFR, ...), working under
// its own name.
struct LanguageSetFile {
    std::string_view storedPrefix;
    std::string_view workingName;
    bool keptOnSwitch;  // the user's work, kept under the previous code; the texts are not
};

inline constexpr std::array<LanguageSetFile, 5> kLanguageSetFiles = {{
    {"Devical.", "DEVICAL.LAN", false},
    {"Devical.i", "DEVICAL.INI", true},
    {"Rates.", "Rates.txt", true},
    {"Taxes.", "Taxes.txt", true},
    {"Memory.", "Memory.txt", true},
}};

// A file of the chosen set is missing; what() is the two-line message shown to the user.
class MissingLanguageSet : public std::runtime_error {
public:
    explicit MissingLanguageSet(std::string_view code);
};

// A code that cannot name files: empty, too long, or not made of letters and digits (the
// previous code comes from the language file, which anyone may edit).
class InvalidLanguageCode : public std::runtime_error {
public:
    explicit InvalidLanguageCode(std::string_view code);
};

enum class LanguageSwitch { AlreadyInstalled, Installed };

// Installs the chosen set over the working files, after storing the current settings, rates,
// taxes and saved amounts under the previous code, so that choosing it again gives them back.
// All or nothing, a kill half way included: every file of the chosen set is read first, and
// the nine files are replaced together (ReplaceFilesTogether, which the next hold of the
// directory's lock completes should the process end during the renames); a working file that
// does not exist is not stored. Nothing is copied when the two codes are the same. Throws
// MissingLanguageSet, InvalidLanguageCode or FileError, each with no file changed.
LanguageSwitch InstallLanguageSet(const std::filesystem::path& directory, std::string_view previous,
                                  std::string_view chosen);

// Whether a file name, in any letter case, is a working file of the sets or one stored under
// a usable code (Devical.FR, memory.gm, ...): the program's own files, which a change may remove.
bool IsLanguageSetFileName(std::string_view name);

// The set offered first for a locale name such as "fr_BE.UTF-8" or "de_CH@euro"; "FR" for
// any locale outside the table.
std::string LanguageCodeForLocale(std::string_view localeName);
// The set offered first for the user's locale, as the C library names it (LC_ALL, then
// LC_MESSAGES, then LANG).
std::string LocaleLanguageCode();

// The first-run marker: while it exists, the language choice opens at each activation.
inline constexpr std::string_view kFirstRunMarker = "Install.Oui";
bool HasFirstRunMarker(const std::filesystem::path& directory);
// Throws FileError when it exists and cannot be removed.
void RemoveFirstRunMarker(const std::filesystem::path& directory);

}  // namespace devical::storage
