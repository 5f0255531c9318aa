#include "storage/settings.h"

#include <algorithm>
#include <charconv>

namespace devical::storage {

namespace {

// Whole numbers as stored by hand or by the program: blanks around, an optional sign.
int ReadInteger(const std::string& text) {
    std::string_view digits(text);
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw SettingsError("'" + text + "' n'est pas une valeur entière correcte");
    return value;
}

bool IsUsableDecimals(std::string_view decimals) {
    return decimals == "x" ||
           (!decimals.empty() && decimals.size() <= 2 &&
            std::all_of(decimals.begin(), decimals.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

}  // namespace

SettingsSnapshot::SettingsSnapshot(IniDocument document, char decimalSeparator)
    : document_(std::move(document)), separator_(decimalSeparator) {}

std::string SettingsSnapshot::Read(std::string_view section, std::string_view key, std::string_view defaultText) const {
    return document_.Read(section, key, defaultText);
}

std::string SettingsSnapshot::NetTitle() const { return Read("Dialog", "Lib_HT", ""); }
std::string SettingsSnapshot::GrossTitle() const { return Read("Dialog", "Lib_TTC", ""); }

TaxSetting SettingsSnapshot::Tax() const {
    return {Read("Taxe", "Title", "Taxe"), engine::ParseAmount(Read("Taxe", "Rate", "0"), separator_)};
}

CurrencySetting SettingsSnapshot::Currency() const {
    return {Read("Currency", "Title", "Francs"), engine::ParseAmount(Read("Currency", "Rate", "1"), separator_)};
}

std::string SettingsSnapshot::MemoryTitle() const { return Read("Memory", "Title", ""); }

MemorySetting SettingsSnapshot::Memory() const {
    return {MemoryTitle(), engine::NormaliseSeparator(Read("Memory", "Curr", "0"), separator_),
            engine::NormaliseSeparator(Read("Memory", "Euro", "0"), separator_)};
}

std::string SettingsSnapshot::Decimals() const {
    // A hand-edited value that means nothing would fail every rounding: keep the default.
    const std::string decimals = Read("Calcul", "Nb_Dec", "2");
    return IsUsableDecimals(decimals) ? decimals : "2";
}

int SettingsSnapshot::SizeLevel() const { return std::clamp(ReadInteger(Read("Windows", "Size", "1")), 1, 3); }

int SettingsSnapshot::BoxUnderEntry() const { return ReadInteger(Read("Windows", "CaseEnSaisie", "1")); }

Settings SettingsSnapshot::All() const {
    Settings settings;
    settings.netTitle = NetTitle();
    settings.grossTitle = GrossTitle();
    settings.tax = Tax();
    settings.currency = Currency();
    settings.memory = Memory();
    settings.decimals = Decimals();
    settings.sizeLevel = SizeLevel();
    settings.boxUnderEntry = BoxUnderEntry();
    return settings;
}

SettingsSnapshot SettingsFile::Read(char decimalSeparator) const {
    return SettingsSnapshot(IniDocument::Load(path_), decimalSeparator);
}

void SettingsFile::WriteNetTitle(std::string_view title) const { IniWrite(path_, "Dialog", "Lib_HT", title); }
void SettingsFile::WriteGrossTitle(std::string_view title) const { IniWrite(path_, "Dialog", "Lib_TTC", title); }

void SettingsFile::WriteTax(std::string_view title, std::string_view rateText) const {
    IniWrite(path_, "Taxe", "Title", title);
    IniWrite(path_, "Taxe", "Rate", rateText);
}

void SettingsFile::WriteCurrency(std::string_view title, std::string_view rateText) const {
    IniWrite(path_, "Currency", "Title", title);
    IniWrite(path_, "Currency", "Rate", rateText);
}

void SettingsFile::WriteMemoryTitle(std::string_view title) const { IniWrite(path_, "Memory", "Title", title); }

void SettingsFile::WriteMemory(std::string_view title, std::string_view nationalAmount,
                               std::string_view euroAmount) const {
    IniWrite(path_, "Memory", "Title", title);
    IniWrite(path_, "Memory", "Curr", nationalAmount);
    IniWrite(path_, "Memory", "Euro", euroAmount);
}

void SettingsFile::WriteDecimals(std::string_view decimals) const { IniWrite(path_, "Calcul", "Nb_Dec", decimals); }

void SettingsFile::WriteSizeLevel(int level) const { IniWrite(path_, "Windows", "Size", std::to_string(level)); }

void SettingsFile::WriteBoxUnderEntry(int box) const {
    IniWrite(path_, "Windows", "CaseEnSaisie", std::to_string(box));
}

}  // namespace devical::storage
