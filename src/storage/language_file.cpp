#include "storage/language_file.h"

namespace devical::storage {

LanguageFile::LanguageFile(const std::filesystem::path& path) : document_(IniDocument::Load(path)) {}

std::string LanguageFile::Text(std::string_view section, std::string_view key, std::string_view defaultText) const {
    return document_.Read(section, key, defaultText);
}

engine::MessageCatalogue LanguageFile::Catalogue() const {
    engine::MessageCatalogue catalogue;
    for (const auto& [key, builtIn] : engine::MessageCatalogue::BuiltInTexts())
        catalogue.SetText(key, Text("Dialogs", key, builtIn));
    return catalogue;
}

std::string LanguageFile::InstalledLanguage() const { return Text("Dialogs", "Langue", "FR"); }

}  // namespace devical::storage
