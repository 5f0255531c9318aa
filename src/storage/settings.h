// DEVICAL.INI: what the calculator resumes with, and the channel by which the other
// windows hand their choices to the main window.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "engine/amount.h"
#include "storage/ini_file.h"

namespace devical::storage {

// A stored value that the program cannot use; what() is the message to show.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TaxSetting {
    std::string title = "Taxe";
    engine::Amount rate = 0;
};

struct CurrencySetting {
    std::string title = "Francs";
    engine::Amount rate = 1;
};

struct MemorySetting {
    std::string title;            // code, one blank, title
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
    int sizeLevel = 1;      // held within 1..3
    int boxUnderEntry = 1;  // as stored: a value outside 1..6 selects nothing
};

// The settings as read at one moment. Each getter reads its keys; an unusable value
// throws (engine::ConversionError for a rate, SettingsError for a whole number).
class SettingsSnapshot {
public:
    SettingsSnapshot(IniDocument document, char decimalSeparator);

    std::string NetTitle() const;
    std::string GrossTitle() const;
    TaxSetting Tax() const;
    CurrencySetting Currency() const;
    std::string MemoryTitle() const;
    // The amounts with the separator in force.
    MemorySetting Memory() const;
    // "0".."3", "x", or another whole number; anything else reads as "2".
    std::string Decimals() const;
    int SizeLevel() const;
    int BoxUnderEntry() const;

    // All of the above in the activation's order.
    Settings All() const;

private:
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultText) const;

    IniDocument document_;
    char separator_;
};

// The file itself: each write is one key, at the moment its value changes.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // Throws FileError.
    SettingsSnapshot Read(char decimalSeparator) const;

    // Each throws FileError; a section missing from the file stores nothing.
    void WriteNetTitle(std::string_view title) const;
    void WriteGrossTitle(std::string_view title) const;
    void WriteTax(std::string_view title, std::string_view rateText) const;
    void WriteCurrency(std::string_view title, std::string_view rateText) const;
    void WriteMemoryTitle(std::string_view title) const;
    void WriteMemory(std::string_view title, std::string_view nationalAmount, std::string_view euroAmount) const;
    void WriteDecimals(std::string_view decimals) const;
    void WriteSizeLevel(int level) const;
    void WriteBoxUnderEntry(int box) const;

private:
    std::filesystem::path path_;
};

}  // namespace devical::storage
