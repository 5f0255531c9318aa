// The local history of the ECB's reference rates: every day fetched, kept in the program
// directory in a compact form of the program's own, so that the rates of an invoice's day
// can be had without the network. Read by devical-rates alone, never by the window.
//
// The file: "DVRH1\n"; the codes (a byte, their count, then three letters each); the days (a
// 32-bit count, then per day its number since 1970-01-01 and the offset of its rates, 32 bits
// each, little-endian, oldest first); then each day's rates: their count, then per rate the
// code's index, the digits after the point and the digits as one number, each a base-128
// varint. A rate's text comes back as published ("0.85703", "133.7").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rates/ecb_rates.h"

namespace devical::rates {

inline constexpr std::string_view kRateHistoryFileName = "RatesHistory.dat";

class RateHistory {
public:
    RateHistory() = default;
    // Throws RatesError (RatesHistoryDamaged) for bytes that are not a whole history.
    static RateHistory FromBytes(std::string bytes);
    const std::string& Bytes() const { return bytes_; }

    // The days added; a day held already takes the new rates. Throws RatesError for a rate
    // that does not fit the form (more than 18 digits).
    void Add(const std::vector<EcbRates>& days);

    // The rates of the day, or of the last day with rates before it (a weekend, a holiday);
    // nothing before the first day held or past the newest.
    std::optional<EcbRates> RatesOn(std::string_view isoDate) const;
    std::string FirstDay() const;
    std::string NewestDay() const;
    std::size_t DayCount() const { return days_.size(); }
    // The currencies the bank published on any day held.
    const std::vector<std::string>& Codes() const { return codes_; }

private:
    struct Day {
        std::int32_t number;
        std::uint32_t offset;
    };
    EcbRates DayAt(std::size_t index) const;

    std::string bytes_;
    std::vector<std::string> codes_;
    std::vector<Day> days_;
};

}  // namespace devical::rates
