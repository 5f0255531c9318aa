// What devical-rates tells the window that started it (--machine): one fact a line, its fields
// between tabs, so that the window never reads the settings file or the summary meant for people.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rates/rate_update.h"

namespace devical::rates {

// "date\t2026-12-04", "changed\tUSD\t1,08\t1,0842", "added\tCNY\t\t7,8", "kept\tCHF" for a row
// that kept its rate, "notice\tKEY\tpart..." for what the run went past (a damaged history),
// then "followed" when the current currency took its new rate; each line ends with a line feed.
std::string UpdateResultText(const UpdateReport& report);

// A failure's reason: "failed\tKEY\tpart\t..." with the key of the program's text that says it.
std::string FailureResultText(std::string_view key, const std::vector<std::string>& parts);

// The rows that kept their rate, in a sentence in the language in use ("Pas de taux BCE ce
// jour-là, taux gardé : CHF, JPY"); empty when there are none.
std::string KeptRatesSentence(const UpdateReport& report);

// The report back from that text; a line it does not know is skipped, as one from a newer command.
UpdateReport ReadUpdateResult(std::string_view text);

}  // namespace devical::rates
