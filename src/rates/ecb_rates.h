// The European Central Bank's euro reference rates (eurofxref-daily.xml, the 90-day and the
// full history files, all of one format): one euro in units of each currency, as our rates.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/amount.h"

namespace devical::rates {

// Rates that cannot be had or used. The reason is one of the program's texts (its key and the
// parts it names), so that the window can say it in its own language; what() says it in the
// language in force when it was made.
class RatesError : public std::runtime_error {
public:
    RatesError(std::string key, std::vector<std::string> parts);
    const std::string& Key() const { return key_; }
    const std::vector<std::string>& Parts() const { return parts_; }

private:
    std::string key_;
    std::vector<std::string> parts_;
};

struct PublishedRate {
    std::string code;      // three capital letters
    std::string rateText;  // as published, with a point
    engine::Amount rate = 0;
};

struct EcbRates {
    std::string date;  // YYYY-MM-DD
    std::vector<PublishedRate> rates;
};

// The rates of the file's newest day, in the file's order. Anything but that format (an HTML
// page, a file cut short, a day without a date or given twice, a rate that is not a positive
// number or lies past the bounds of a rate, a code that is not three capitals, no rate at
// all) throws RatesError: a wrong rate is worse than an old one. What comments and CDATA
// sections hold is not read. One pass over the file; only the newest day's rates are read.
EcbRates ParseEcbRates(std::string_view xml);

// Every day of the file, oldest first, each checked as above.
std::vector<EcbRates> ParseEcbDays(std::string_view xml);

}  // namespace devical::rates
