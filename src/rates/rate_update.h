// The working currency list and the settings brought up to a day of published rates.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "rates/ecb_rates.h"

namespace devical::rates {

struct RateChange {
    std::string code;
    std::string oldText;  // as the list held it; empty for a row added
    std::string newText;  // as written, in the list's own separator
};

struct UpdateReport {
    std::string date;
    std::vector<RateChange> changed;
    std::vector<RateChange> added;
    bool currentCurrencyFollowed = false;           // DEVICAL.INI's [Currency] Rate took the new rate
    std::vector<std::string> failure;               // read back only: the reason's text key, then its parts
    std::vector<std::vector<std::string>> notices;  // what the run met and went past: each a text key, then its parts
    std::vector<std::string> unpublished;           // floating rows of the list without a rate that day, kept
};

struct UpdateOptions {
    bool add = false;        // append rows for the published currencies the list lacks
    bool dryRun = false;     // say what would change, write nothing
    bool pickedDay = false;  // the rates are of a day the user picked: no daily update replaces them
};

// Rates.txt of the program directory: every row whose code is published and not fixed takes
// the published rate, written with the decimal separator the list already uses; nothing else
// of the file changes, byte for byte. DEVICAL.INI: the current currency's rate follows, and
// [Rates] Date and Source record the day. Both files are replaced together, or neither is:
// everything is worked out before the first write. languageCode: the installed set's, for
// the names of added rows and the separator of a list that shows none. Throws FileError.
UpdateReport UpdateRates(const std::filesystem::path& programDirectory, const EcbRates& rates,
                         const UpdateOptions& options, std::string_view languageCode);

}  // namespace devical::rates
