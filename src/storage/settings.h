// DEVICAL.INI: what the calculator resumes with, and the channel by which the other
// windows hand their choices to the main window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/amount.h"
#include "storage/ini_file.h"

namespace devical::storage {

struct TaxSetting {
    std::string title = "Taxe";
    engine::Amount rate = 0;
};

struct CurrencySetting {
    std::string title = "Francs";
    engine::Amount rate = 1;
};

struct MemorySetting {
    std::string title;  // code, one blank, title
    std::string nationalAmount = "0";
    std::string euroAmount = "0";
};

// Every key with the defaults of a missing or empty value.
struct Settings {
    std::string netTitle;
    std::string grossTitle;
    TaxSetting tax;
    CurrencySetting currency;
    MemorySetting memory;
    std::string decimals = "2";
    int sizeLevel = 1;         // held within 1..3
    int boxUnderEntry = 1;     // as stored: a value outside 1..6 selects nothing
    std::string ratesDate;     // the day of the central bank's rates last taken ("2026-12-04"), if any
    bool ratesDaily = false;   // the rates are updated at the first start of each day
    std::string ratesChecked;  // the day they were last asked for at a start
};

// The settings as read at one moment. A missing, empty or unusable value gives the default
// of its key, and each unusable one a message that names the file, the section and the key,
// so that the user can mend it while the calculator goes on with real values.
struct SettingsReading {
    Settings values;
    std::vector<std::string> problems;
};

SettingsReading ReadSettings(const IniDocument& document, const std::string& fileName, char decimalSeparator);

// The titles that the user renames through the title question.
enum class TitleTarget { Net, Gross, Memory };

// The file itself: each write is one key, at the moment its value changes.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // Throws FileError.
    SettingsReading Read(char decimalSeparator) const;

    // Each throws FileError; a section missing from the file is added at its end.
    // The memory's title is stored with its currency's code and a blank in front.
    void WriteTitle(TitleTarget target, std::string_view title) const;
    void WriteTax(std::string_view title, std::string_view rateText) const;
    void WriteCurrency(std::string_view title, std::string_view rateText) const;
    void WriteMemory(std::string_view title, std::string_view nationalAmount, std::string_view euroAmount) const;
    void WriteDecimals(std::string_view decimals) const;
    void WriteSizeLevel(int level) const;
    void WriteBoxUnderEntry(int box) const;
    void WriteRatesDaily(bool daily) const;
    void WriteRatesChecked(std::string_view day) const;

private:
    std::filesystem::path path_;
};

}  // namespace devical::storage
