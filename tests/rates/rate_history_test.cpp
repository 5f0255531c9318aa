// The local history of the ECB's rates: its bytes, and the day a date finds.
#include <gtest/gtest.h>

#include "rates/rate_history.h"

namespace devical::rates {
namespace {

using namespace std::string_literals;

EcbRates Day(std::string date, std::vector<std::pair<std::string, std::string>> rates) {
    EcbRates day{std::move(date), {}};
    for (auto& [code, text] : rates)
        day.rates.push_back({code, text, std::stold(text)});
    return day;
}

std::string Said(const std::optional<EcbRates>& day) {
    if (!day) return "none";
    std::string said = day->date;
    for (const PublishedRate& rate : day->rates)
        said += " " + rate.code + " " + rate.rateText;
    return said;
}

TEST(RateHistory, IsWrittenInItsCompactFormAndReadBack) {
    RateHistory history;
    history.Add({Day("2026-12-04", {{"USD", "1.0842"}, {"GBP", "0.85703"}})});
    history.Add({Day("1999-01-04", {{"USD", "1.1789"}, {"JPY", "133.73"}})});  // an older day goes before
    const std::string bytes =
        "DVRH1\n\x03USDGBPJPY\x02\0\0\0"
        "\x63\x29\0\0\0\0\0\0\x37\x51\0\0\x09\0\0\0"  // the days and where their rates are
        "\x02\0\x04\x8D\x5C\x02\x02\xBD\x68"          // USD 1.1789, JPY 133.73
        "\x02\0\x04\xDA\x54\x01\x05\xC7\x9D\x05"s;    // USD 1.0842, GBP 0.85703
    EXPECT_EQ(history.Bytes(), bytes);
    const RateHistory read = RateHistory::FromBytes(bytes);
    EXPECT_EQ(Said(read.RatesOn("1999-01-04")), "1999-01-04 USD 1.1789 JPY 133.73");
    EXPECT_EQ(Said(read.RatesOn("2026-12-04")), "2026-12-04 USD 1.0842 GBP 0.85703");
    for (const std::size_t cut : {bytes.size() - 1, std::size_t{20}, std::size_t{3}}) {
        EXPECT_THROW(RateHistory::FromBytes(bytes.substr(0, cut)).RatesOn("2026-12-04"), RatesError) << cut;
    }
}

// A day without rates (a weekend, 1 May) takes the last working day's; a currency missing
// that day is missing from its rates.
TEST(RateHistory, FindsTheRatesOfADay) {
    RateHistory history;
    history.Add({Day("1999-01-04", {{"USD", "1.1789"}}), Day("2026-04-30", {{"USD", "1.13"}, {"JPY", "162.5"}}),
                 Day("2026-05-04", {{"USD", "1.131"}}), Day("2026-12-04", {{"USD", "1.0842"}})});
    const std::pair<const char*, const char*> rows[] = {
        {"2026-12-04", "2026-12-04 USD 1.0842"},
        {"2026-12-05", "none"},                           // past the newest
        {"2026-05-01", "2026-04-30 USD 1.13 JPY 162.5"},  // a 1 May
        {"2026-05-02", "2026-04-30 USD 1.13 JPY 162.5"},  // a Saturday
        {"2026-05-03", "2026-04-30 USD 1.13 JPY 162.5"},
        {"2026-05-04", "2026-05-04 USD 1.131"},  // JPY not published that day
        {"1999-01-04", "1999-01-04 USD 1.1789"},
        {"1998-12-31", "none"},
        {"2026-02-30", "none"},
    };
    for (const auto& [date, said] : rows)
        EXPECT_EQ(Said(history.RatesOn(date)), said) << date;
    EXPECT_EQ(history.FirstDay(), "1999-01-04");
    EXPECT_EQ(history.NewestDay(), "2026-12-04");
}

}  // namespace
}  // namespace devical::rates
