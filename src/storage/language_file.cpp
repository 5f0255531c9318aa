#include "storage/language_file.h"

#include "engine/builtin_texts.h"
#include "storage/file_io.h"
#include "storage/language_set.h"

namespace devical::storage {

std::string SpokenLanguageIn(const std::filesystem::path& programDirectory) {
    try {
        return LanguageFile(FindFileNoCase(programDirectory, "DEVICAL.LAN")).InstalledLanguage();
    } catch (const FileError&) {
        return LocaleLanguageCode();
    }
}

LanguageFile::LanguageFile(const std::filesystem::path& path) : document_(IniDocument::Load(path)) {}

std::string LanguageFile::Text(std::string_view section, std::string_view key, std::string_view defaultText) const {
    std::string text = document_.Read(section, key, defaultText);
    if (!text.empty() || !defaultText.empty()) return text;
    // A text newer than this file: the built-in one, in the file's language, where there is one.
    const std::string builtInKey = std::string(section) + "/" + std::string(key);
    return engine::BuiltInTextIn(engine::BuiltInLanguageOf(InstalledLanguage()), builtInKey);
}

engine::MessageCatalogue LanguageFile::Catalogue() const {
    engine::MessageCatalogue catalogue;
    const engine::BuiltInLanguage language = engine::BuiltInLanguageOf(InstalledLanguage());
    for (std::string_view key : engine::MessageCatalogue::Keys())
        catalogue.SetText(key, Text("Dialogs", key, engine::BuiltInTextIn(language, key)));
    return catalogue;
}

std::string LanguageFile::InstalledLanguage() const { return Text("Dialogs", "Langue", "FR"); }

}  // namespace devical::storage
