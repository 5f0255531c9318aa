#include "rates/rate_history.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <utility>

#include "engine/amount.h"
#include "engine/iso_day.h"

namespace devical::rates {

namespace {

constexpr std::string_view kMagic = "DVRH1\n";
constexpr std::size_t kDayEntrySize = 8;
constexpr int kLongestDigits = 18;  // what a 64-bit number holds whole

[[noreturn]] void Damaged() { throw RatesError("RatesHistoryDamaged", {}); }

void PutUint32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutVarint(std::string& out, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7)
        out += static_cast<char>((value & 0x7F) | 0x80);
    out += static_cast<char>(value);
}

// Reads from `at` on, moving it past what was read; any byte missing makes the file damaged.
class Reader {
public:
    Reader(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    std::uint32_t Uint32() {
        if (bytes_.size() - at_ < 4 || at_ > bytes_.size()) Damaged();
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at_++])) << (8 * i);
        return value;
    }
    std::uint64_t Varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at_ >= bytes_.size()) Damaged();
            const auto byte = static_cast<unsigned char>(bytes_[at_++]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return value;
        }
        Damaged();
    }
    std::string_view Take(std::size_t count) {
        if (at_ > bytes_.size() || bytes_.size() - at_ < count) Damaged();
        at_ += count;
        return bytes_.substr(at_ - count, count);
    }
    std::size_t At() const { return at_; }

private:
    std::string_view bytes_;
    std::size_t at_;
};

// "0.85703" as 85703 with five digits after the point, and back.
std::pair<std::uint64_t, std::uint64_t> DigitsOf(std::string_view text) {
    std::uint64_t digits = 0;
    int count = 0;
    const std::size_t point = text.find('.');
    for (const char c : text) {
        if (c == '.') continue;
        if (++count > kLongestDigits) throw RatesError("RatesNotPositive", {"", std::string(text)});
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return {digits, point == std::string_view::npos ? 0 : text.size() - point - 1};
}

std::string TextOf(std::uint64_t digits, std::uint64_t scale) {
    std::string text = std::to_string(digits);
    if (scale == 0) return text;
    if (text.size() <= scale) text.insert(0, scale + 1 - text.size(), '0');
    text.insert(text.size() - scale, 1, '.');
    return text;
}

}  // namespace

namespace {

std::int32_t NumberOf(std::chrono::sys_days day) { return static_cast<std::int32_t>(day.time_since_epoch().count()); }

std::string IsoOf(std::int32_t number) { return engine::IsoText(std::chrono::sys_days(std::chrono::days(number))); }

}  // namespace

RateHistory RateHistory::FromBytes(std::string bytes) {
    RateHistory history;
    history.bytes_ = std::move(bytes);
    if (!std::string_view(history.bytes_).starts_with(kMagic)) Damaged();
    Reader read(history.bytes_, kMagic.size());
    const std::size_t codes = static_cast<unsigned char>(read.Take(1)[0]);
    for (std::size_t i = 0; i < codes; ++i)
        history.codes_.emplace_back(read.Take(3));
    const std::uint32_t count = read.Uint32();
    if (count > (history.bytes_.size() - read.At()) / kDayEntrySize) Damaged();
    history.days_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto number = static_cast<std::int32_t>(read.Uint32());
        const std::uint32_t offset = read.Uint32();
        if (!history.days_.empty() && number <= history.days_.back().number) Damaged();
        history.days_.push_back({number, offset});
    }
    const std::size_t records = history.bytes_.size() - read.At();
    for (Day& day : history.days_) {
        if (day.offset >= records) Damaged();
        day.offset += static_cast<std::uint32_t>(read.At());  // from the start of the file
    }
    return history;
}

EcbRates RateHistory::DayAt(std::size_t index) const {
    Reader read(bytes_, days_[index].offset);
    EcbRates day{IsoOf(days_[index].number), {}};
    const std::uint64_t count = read.Varint();
    if (count > codes_.size()) Damaged();
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t code = read.Varint();
        const std::uint64_t scale = read.Varint();
        const std::uint64_t digits = read.Varint();
        if (code >= codes_.size() || scale > kLongestDigits) Damaged();
        std::string text = TextOf(digits, scale);
        const std::optional<engine::Amount> rate = engine::ReadNumber(text, '.');
        if (!rate || *rate <= 0) Damaged();
        day.rates.push_back({codes_[code], std::move(text), *rate});
    }
    return day;
}

void RateHistory::Add(const std::vector<EcbRates>& added) {
    std::map<std::int32_t, std::vector<PublishedRate>> all;
    for (std::size_t i = 0; i < days_.size(); ++i)
        all.emplace(days_[i].number, DayAt(i).rates);
    for (const EcbRates& day : added)
        if (const auto number = engine::IsoDay(day.date)) all[NumberOf(*number)] = day.rates;
    std::vector<std::string> codes = codes_;
    std::string records;
    std::vector<Day> days;
    for (const auto& [number, rates] : all) {
        days.push_back({number, static_cast<std::uint32_t>(records.size())});
        PutVarint(records, rates.size());
        for (const PublishedRate& rate : rates) {
            auto code = std::find(codes.begin(), codes.end(), rate.code);
            if (code == codes.end()) {
                if (codes.size() == 255) Damaged();
                code = codes.insert(codes.end(), rate.code);
            }
            const auto [digits, scale] = DigitsOf(rate.rateText);
            PutVarint(records, static_cast<std::uint64_t>(code - codes.begin()));
            PutVarint(records, scale);
            PutVarint(records, digits);
        }
    }
    std::string bytes(kMagic);
    bytes += static_cast<char>(codes.size());
    for (const std::string& code : codes)
        bytes += code;
    PutUint32(bytes, static_cast<std::uint32_t>(days.size()));
    for (const Day& day : days) {
        PutUint32(bytes, static_cast<std::uint32_t>(day.number));
        PutUint32(bytes, day.offset);
    }
    *this = FromBytes(bytes + records);
}

std::optional<EcbRates> RateHistory::RatesOn(std::string_view isoDate) const {
    const auto day = engine::IsoDay(isoDate);
    if (!day || days_.empty() || NumberOf(*day) < days_.front().number || NumberOf(*day) > days_.back().number)
        return std::nullopt;
    const auto after = std::upper_bound(days_.begin(), days_.end(), NumberOf(*day),
                                        [](std::int32_t n, const Day& held) { return n < held.number; });
    return DayAt(static_cast<std::size_t>(after - days_.begin() - 1));
}

std::string RateHistory::FirstDay() const { return days_.empty() ? std::string() : IsoOf(days_.front().number); }

std::string RateHistory::NewestDay() const { return days_.empty() ? std::string() : IsoOf(days_.back().number); }

}  // namespace devical::rates
