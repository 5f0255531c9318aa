#include "storage/language_set.h"
#include "engine/builtin_texts.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace fs = std::filesystem;

namespace {

bool IsUsableCode(std::string_view code) {
    const auto letterOrDigit = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    };
    return !code.empty() && code.size() <= 8 && std::all_of(code.begin(), code.end(), letterOrDigit);
}

fs::path StoredFile(const fs::path& directory, const LanguageSetFile& file, std::string_view code) {
    return FindFileNoCase(directory, std::string(file.storedPrefix) + std::string(code));
}

fs::path WorkingFile(const fs::path& directory, const LanguageSetFile& file) {
    return FindFileNoCase(directory, file.workingName);
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The texts and the settings are small, and past their limit refused; the lists (the .txt
// files) may be big, and are copied as they are.
std::string ReadSetFile(const fs::path& path, const LanguageSetFile& file) {
    return file.workingName.ends_with(".txt") ? ReadFileBytes(path) : ReadFileBytesUpTo(path, kLargestIniFile);
}

}  // namespace

MissingLanguageSet::MissingLanguageSet(std::string_view code)
    : std::runtime_error(engine::BuiltInText("SetIncomplete", {code})) {}

InvalidLanguageCode::InvalidLanguageCode(std::string_view code)
    : std::runtime_error(engine::BuiltInText("BadLanguageCode", {code})) {}

LanguageSwitch InstallLanguageSet(const fs::path& directory, std::string_view previous, std::string_view chosen) {
    if (previous == chosen) return LanguageSwitch::AlreadyInstalled;
    for (std::string_view code : {chosen, previous}) {
        if (!IsUsableCode(code)) throw InvalidLanguageCode(code);
    }
    bool complete = true;  // every file is looked at, as a user fixing the set would wish
    for (const LanguageSetFile& file : kLanguageSetFiles)
        complete = Exists(StoredFile(directory, file, chosen)) && complete;
    if (!complete) throw MissingLanguageSet(chosen);

    // The working files are read and replaced in one hold of the lock: a write by another
    // process in between would land in the wrong language's files.
    DirectoryLock lock(directory);
    std::vector<FileContents> writes;
    for (const LanguageSetFile& file : kLanguageSetFiles) {
        const fs::path working = WorkingFile(directory, file);
        if (file.keptOnSwitch && Exists(working))
            writes.push_back({StoredFile(directory, file, previous), ReadSetFile(working, file)});
    }
    for (const LanguageSetFile& file : kLanguageSetFiles)
        writes.push_back({WorkingFile(directory, file), ReadSetFile(StoredFile(directory, file, chosen), file)});
    ReplaceFilesTogether(directory, writes);
    return LanguageSwitch::Installed;
}

bool IsLanguageSetFileName(std::string_view name) {
    const std::string upper = UpperAscii(name);
    for (const LanguageSetFile& file : kLanguageSetFiles) {
        const std::string prefix = UpperAscii(file.storedPrefix);
        if (upper == UpperAscii(file.workingName) ||
            (upper.starts_with(prefix) && IsUsableCode(std::string_view(upper).substr(prefix.size()))))
            return true;
    }
    return false;
}

std::string LanguageCodeForLocale(std::string_view localeName) {
    const std::string_view name = localeName.substr(0, localeName.find_first_of(".@"));
    static constexpr std::pair<std::string_view, std::string_view> kTable[] = {
        {"fr_FR", "FR"}, {"fr_CA", "FR"}, {"fr_CH", "FR"}, {"fr_LU", "FR"}, {"fr_BE", "BE"}, {"en_US", "AN"},
        {"en_GB", "AN"}, {"en_IE", "AN"}, {"de_DE", "GM"}, {"de_CH", "GM"}, {"de_AT", "GM"}, {"de_LU", "GM"},
    };
    for (const auto& [locale, code] : kTable) {
        if (name == locale) return std::string(code);
    }
    return "FR";
}

std::string LocaleLanguageCode() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LanguageCodeForLocale(value);
    }
    return LanguageCodeForLocale("");
}

bool HasFirstRunMarker(const fs::path& directory) { return Exists(FindFileNoCase(directory, kFirstRunMarker)); }

void RemoveFirstRunMarker(const fs::path& directory) {
    const fs::path marker = FindFileNoCase(directory, kFirstRunMarker);
    std::error_code error;
    fs::remove(marker, error);
    if (error && error != std::errc::no_such_file_or_directory)
        throw FileError(engine::BuiltInText("CannotRemove") + " " + marker.string() + "\n" + error.message());
}

}  // namespace devical::storage
