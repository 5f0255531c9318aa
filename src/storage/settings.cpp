#include "storage/settings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "engine/builtin_texts.h"
#include "storage/file_io.h"

namespace devical::storage {

namespace {

// Whole numbers as stored by hand or by the program: blanks around, an optional sign.
std::optional<int> ReadInteger(std::string_view digits) {
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ')
        digits.remove_suffix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

// Reads one key after another, noting each value that cannot be used.
class SettingsReader {
public:
    SettingsReader(const IniDocument& document, const std::string& fileName, char separator)
        : document_(document), fileName_(fileName), separator_(separator) {}

    std::string Text(std::string_view section, std::string_view key, std::string_view defaultText) const {
        return document_.Read(section, key, defaultText);
    }

    engine::Amount Rate(std::string_view section, std::string_view key, std::string_view defaultText) {
        const std::string text = Text(section, key, defaultText);
        try {
            return engine::ParseAmount(text, separator_);
        } catch (const engine::ConversionError& error) {
            Note(error.what(), section, key);
            return engine::ParseAmount(defaultText, separator_);
        }
    }

    int Integer(std::string_view section, std::string_view key, int defaultValue) {
        const std::string text = Text(section, key, std::to_string(defaultValue));
        if (const auto value = ReadInteger(text)) return *value;
        Note(engine::BuiltInText("NotAWholeNumber", {text}), section, key);
        return defaultValue;
    }

    std::vector<std::string> TakeProblems() { return std::move(problems_); }

private:
    void Note(const std::string& message, std::string_view section, std::string_view key) {
        problems_.push_back(message + "\n" + engine::BuiltInText("SettingPlace", {fileName_, section, key}));
    }

    const IniDocument& document_;
    const std::string& fileName_;
    char separator_;
    std::vector<std::string> problems_;
};

}  // namespace

SettingsReading ReadSettings(const IniDocument& document, const std::string& fileName, char decimalSeparator) {
    SettingsReader read(document, fileName, decimalSeparator);
    SettingsReading reading;
    Settings& s = reading.values;
    s.netTitle = read.Text("Dialog", "Lib_HT", "");
    s.grossTitle = read.Text("Dialog", "Lib_TTC", "");
    s.tax = {read.Text("Taxe", "Title", "Taxe"), read.Rate("Taxe", "Rate", "0")};
    s.currency = {read.Text("Currency", "Title", "Francs"), read.Rate("Currency", "Rate", "1")};
    s.memory = {read.Text("Memory", "Title", ""),
                engine::NormaliseSeparator(read.Text("Memory", "Curr", "0"), decimalSeparator),
                engine::NormaliseSeparator(read.Text("Memory", "Euro", "0"), decimalSeparator)};
    // A hand-edited value that means nothing would fail every rounding: keep the default.
    const std::string decimals = read.Text("Calcul", "Nb_Dec", "2");
    s.decimals = engine::IsUsableDecimals(decimals) ? decimals : "2";
    s.sizeLevel = std::clamp(read.Integer("Windows", "Size", 1), 1, 3);
    s.boxUnderEntry = read.Integer("Windows", "CaseEnSaisie", 1);
    s.ratesDate = read.Text("Rates", "Date", "");
    s.ratesDaily = read.Text("Rates", "Daily", "0") == "1";
    s.ratesChecked = read.Text("Rates", "Checked", "");
    s.ratesPicked = read.Text("Rates", "Picked", "0") == "1";
    reading.problems = read.TakeProblems();
    return reading;
}

SettingsReading SettingsFile::Read(char decimalSeparator) const {
    return ReadSettings(IniDocument::Load(path_), path_.string(), decimalSeparator);
}

void SettingsChanges::Set(std::string_view section, std::string_view key, std::string_view value) {
    for (Entry& entry : entries_) {
        if (entry.section == section && entry.key == key) {
            entry.value = value;
            return;
        }
    }
    entries_.push_back({std::string(section), std::string(key), std::string(value)});
}

void SettingsChanges::Title(TitleTarget target, std::string_view title) {
    switch (target) {
    case TitleTarget::Net: return Set("Dialog", "Lib_HT", title);
    case TitleTarget::Gross: return Set("Dialog", "Lib_TTC", title);
    case TitleTarget::Memory: return Set("Memory", "Title", title);
    }
}

void SettingsChanges::Tax(std::string_view title, std::string_view rateText) {
    Set("Taxe", "Title", title);
    Set("Taxe", "Rate", rateText);
}

void SettingsChanges::Currency(std::string_view title, std::string_view rateText) {
    Set("Currency", "Title", title);
    Set("Currency", "Rate", rateText);
}

void SettingsChanges::Memory(std::string_view title, std::string_view nationalAmount, std::string_view euroAmount) {
    Set("Memory", "Title", title);
    Set("Memory", "Curr", nationalAmount);
    Set("Memory", "Euro", euroAmount);
}

void SettingsFile::Write(const SettingsChanges& changes) const {
    if (changes.Empty()) return;
    UpdateFileContents(
        path_,
        [&](const std::string& bytes) {
            IniDocument document(bytes);
            for (const SettingsChanges::Entry& entry : changes.Entries())
                document.Write(entry.section, entry.key, entry.value);
            return document.Bytes();
        },
        kLargestIniFile);
}

}  // namespace devical::storage
