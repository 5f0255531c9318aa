#include "rates/ecb_rates.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

#include "engine/builtin_texts.h"

namespace devical::rates {

namespace {

constexpr std::string_view kEnvelope = "<gesmes:Envelope";
constexpr std::string_view kEnvelopeEnd = "</gesmes:Envelope>";
constexpr std::string_view kBlanks = " \t\r\n";

// A euro has been worth from a few tenths of a unit (the Kuwaiti dinar) to a few millions (the
// Turkish lira before 2005): past these bounds a rate is a mistake, and the conversions made
// with it would overflow or lose their digits.
constexpr engine::Amount kSmallestRate = 1e-6L, kLargestRate = 1e9L;
constexpr std::string_view kSmallestRateText = "0.000001", kLargestRateText = "1000000000";

// Markup whose text is no element, with what ends it.
constexpr std::pair<std::string_view, std::string_view> kComment = {"<!--", "-->"}, kCdata = {"<![CDATA[", "]]>"};

[[noreturn]] void Refuse(std::string key, std::vector<std::string> parts = {}) {
    throw RatesError(std::move(key), std::move(parts));
}

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return lower;
}

// The value of an attribute in a tag's text, quoted either way; empty when absent.
std::optional<std::string_view> Attribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        if (at == 0 || !IsBlank(tag[at - 1])) continue;
        std::size_t p = std::min(tag.find_first_not_of(kBlanks, at + name.size()), tag.size());
        if (p == tag.size() || tag[p] != '=') continue;
        p = std::min(tag.find_first_not_of(kBlanks, p + 1), tag.size());
        if (p == tag.size() || (tag[p] != '\'' && tag[p] != '"')) return std::nullopt;
        const std::size_t end = tag.find(tag[p], p + 1);
        if (end == std::string_view::npos) return std::nullopt;
        return tag.substr(p + 1, end - p - 1);
    }
    return std::nullopt;
}

bool IsDate(std::string_view d) {
    if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!IsDigit(d[i])) return false;
    const int month = (d[5] - '0') * 10 + (d[6] - '0');
    const int day = (d[8] - '0') * 10 + (d[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool IsCode(std::string_view code) {
    return code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Digits with at most one point between digits (no sign, no exponent, nothing around), not
// all zeros, and within the bounds of a rate.
engine::Amount RateOf(std::string_view code, std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), IsDigit);
    };
    if (!digits(whole) || !digits(fraction) || text.find_first_of("123456789") == std::string_view::npos)
        Refuse("RatesNotPositive", {std::string(code), std::string(text)});
    // Nothing when the digits go past the extended range; 0 when they fall below it.
    const std::optional<engine::Amount> rate = engine::ReadNumber(text, '.');
    if (!rate || *rate < kSmallestRate || *rate > kLargestRate) {
        const std::string shown = text.size() > 24 ? std::string(text.substr(0, 20)) + "…" : std::string(text);
        Refuse("RatesOutOfRange",
               {std::string(code), shown, std::string(kSmallestRateText), std::string(kLargestRateText)});
    }
    return *rate;
}

// A comment or CDATA section: where it opens, where its text begins, what ends it.
struct Hidden {
    std::size_t at = std::string_view::npos, text = 0;
    std::string_view close;
};

// The next one from `from`; `at` is npos when there is none.
Hidden NextHidden(std::string_view xml, std::size_t from) {
    for (std::size_t at = xml.find("<!", from); at != std::string_view::npos; at = xml.find("<!", at + 2)) {
        for (const auto& [open, close] : {kComment, kCdata})
            if (xml.substr(at).starts_with(open)) return {at, at + open.size(), close};
    }
    return {};
}

// A <Cube ...> or </Cube> tag: where it is and what it holds.
struct CubeTag {
    bool closing = false;
    bool selfClosing = false;
    std::string_view attributes;
    std::size_t begin = 0, end = 0;  // end: just past its '>'
};

// The next Cube tag from `from`, or none. A "Cube" inside a comment or CDATA section is text:
// a day or a rate that a publisher left in a comment is not one.
std::optional<CubeTag> NextCube(std::string_view xml, std::size_t from) {
    for (;;) {
        const std::size_t at = xml.find("Cube", from);
        if (at == std::string_view::npos) return std::nullopt;
        // Only what lies before this "Cube" is searched: one pass over the file in all.
        if (const Hidden hidden = NextHidden(xml.substr(0, at), from); hidden.at != std::string_view::npos) {
            const std::size_t end = xml.find(hidden.close, hidden.text);
            if (end == std::string_view::npos) Refuse("RatesInComment");
            from = end + hidden.close.size();
            continue;
        }
        from = at + 4;
        CubeTag tag;
        tag.closing = at >= 2 && xml[at - 1] == '/' && xml[at - 2] == '<';
        if (!tag.closing && (at == 0 || xml[at - 1] != '<')) continue;  // "Cube" in some text
        const std::size_t after = at + 4;
        if (after < xml.size() && !IsBlank(xml[after]) && xml[after] != '>' && xml[after] != '/') continue;
        const std::size_t gt = xml.find('>', after);
        if (gt == std::string_view::npos) Refuse("RatesCutInCube");
        tag.attributes = xml.substr(after, gt - after);
        tag.selfClosing = !tag.attributes.empty() && tag.attributes.back() == '/';
        if (tag.selfClosing) tag.attributes.remove_suffix(1);
        if (tag.closing && tag.attributes.find_first_not_of(kBlanks) != std::string_view::npos)
            Refuse("RatesMalformed");
        tag.begin = at - (tag.closing ? 2 : 1);
        tag.end = gt + 1;
        return tag;
    }
}

void CheckEnvelope(std::string_view xml) {
    const std::size_t first = xml.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) Refuse("RatesEmpty");
    const std::string opening = Lower(xml.substr(first, 64));
    if (opening.starts_with("<!doctype html") || opening.starts_with("<html")) Refuse("RatesWebPage");
    if (xml.find(kEnvelope) == std::string_view::npos) Refuse("RatesNotEcb");
    const std::size_t last = xml.find_last_not_of(kBlanks);
    if (!xml.substr(0, last + 1).ends_with(kEnvelopeEnd)) Refuse("RatesCutShort");
}

std::vector<PublishedRate> ReadDay(std::string_view body, std::string_view date) {
    std::vector<PublishedRate> rates;
    for (auto tag = NextCube(body, 0); tag; tag = NextCube(body, tag->end)) {
        const auto code = Attribute(tag->attributes, "currency");
        const auto rateText = Attribute(tag->attributes, "rate");
        if (!code || !IsCode(*code)) Refuse("RatesNoCode", {std::string(date)});
        if (!rateText) Refuse("RatesMissing", {std::string(*code)});
        const engine::Amount rate = RateOf(*code, *rateText);
        if (std::any_of(rates.begin(), rates.end(), [&](const PublishedRate& r) { return r.code == *code; }))
            Refuse("RatesTwice", {std::string(*code), std::string(date)});
        rates.push_back({std::string(*code), std::string(*rateText), rate});
    }
    if (rates.empty()) Refuse("RatesNone", {std::string(date)});
    return rates;
}

// The days are walked as a nesting of Cube elements: the outer one, a day (time="..."), its
// rates (self-closing). Each day's date and the text of its rates, in the file's order.
std::vector<std::pair<std::string_view, std::string_view>> DaysOf(std::string_view xml) {
    CheckEnvelope(xml);
    std::vector<std::pair<std::string_view, std::string_view>> found;
    int depth = 0;
    std::size_t dayStart = 0;
    std::unordered_set<std::string_view> days;
    for (auto tag = NextCube(xml, 0); tag; tag = NextCube(xml, tag->end)) {
        if (tag->closing) {
            if (--depth < 0) Refuse("RatesMalformed");
            if (depth == 1) found.back().second = xml.substr(dayStart, tag->begin - dayStart);
            continue;
        }
        if (depth == 1) {
            const auto time = Attribute(tag->attributes, "time");
            if (!time) Refuse("RatesNoDate");
            if (!IsDate(*time)) Refuse("RatesNotADate", {std::string(*time)});
            if (!days.insert(*time).second) Refuse("RatesDayTwice", {std::string(*time)});
            found.emplace_back(*time, std::string_view());  // a day without rates, until its end says otherwise
            dayStart = tag->end;
        } else if (depth >= 2 && !tag->selfClosing) {  // a rate holds nothing
            Refuse("RatesMalformed");
        }
        if (!tag->selfClosing) ++depth;
    }
    if (depth != 0) Refuse("RatesMalformed");
    if (found.empty()) Refuse("RatesNoDay");
    return found;
}

}  // namespace

// The files list the newest day first, but the greatest date wins; only its rates are read.
EcbRates ParseEcbRates(std::string_view xml) {
    const auto days = DaysOf(xml);
    const auto newest = std::max_element(days.begin(), days.end());
    return {std::string(newest->first), ReadDay(newest->second, newest->first)};
}

std::vector<EcbRates> ParseEcbDays(std::string_view xml) {
    auto days = DaysOf(xml);
    std::sort(days.begin(), days.end());
    std::vector<EcbRates> read;
    read.reserve(days.size());
    for (const auto& [date, body] : days)
        read.push_back({std::string(date), ReadDay(body, date)});
    return read;
}

RatesError::RatesError(std::string key, std::vector<std::string> parts)
    : std::runtime_error(
          engine::FillIn(engine::BuiltInText(key), std::vector<std::string_view>(parts.begin(), parts.end()))),
      key_(std::move(key)),
      parts_(std::move(parts)) {}

}  // namespace devical::rates
