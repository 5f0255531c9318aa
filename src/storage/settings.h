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
    bool ratesPicked = false;  // the rates are of a day the user picked, which no daily update replaces
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

// Keys changed by one action, written together in one rewrite: a currency's title never
// lands without its rate. A key set twice keeps its last value.
class SettingsChanges {
public:
    // The memory's title is stored with its currency's code and a blank in front.
    void Title(TitleTarget target, std::string_view title);
    void Tax(std::string_view title, std::string_view rateText);
    void Currency(std::string_view title, std::string_view rateText);
    void Memory(std::string_view title, std::string_view nationalAmount, std::string_view euroAmount);
    void Decimals(std::string_view decimals) { Set("Calcul", "Nb_Dec", decimals); }
    void SizeLevel(int level) { Set("Windows", "Size", std::to_string(level)); }
    void BoxUnderEntry(int box) { Set("Windows", "CaseEnSaisie", std::to_string(box)); }
    void RatesDaily(bool daily) { Set("Rates", "Daily", daily ? "1" : "0"); }
    void RatesChecked(std::string_view day) { Set("Rates", "Checked", day); }

    struct Entry {
        std::string section, key, value;
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }
    void Clear() { entries_.clear(); }

private:
    void Set(std::string_view section, std::string_view key, std::string_view value);
    std::vector<Entry> entries_;
};

// The file itself.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // Throws FileError.
    SettingsReading Read(char decimalSeparator) const;

    // Every key of the changes in one rewrite, made on the file as it is now under the
    // folder's lock (a key another writer changed meanwhile keeps its new value); a file that
    // would come out the same is left untouched, and a section missing from it is added at its
    // end. Throws FileError.
    void Write(const SettingsChanges& changes) const;

    // The changes that `change` makes, written as above.
    template <typename Change>
    void WriteOne(Change change) const {
        SettingsChanges changes;
        change(changes);
        Write(changes);
    }

private:
    std::filesystem::path path_;
};

}  // namespace devical::storage
