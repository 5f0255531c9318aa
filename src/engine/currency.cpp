#include "engine/currency.h"

#include <algorithm>
#include <array>

namespace devical::engine {

namespace {

// The byte length of the first `count` UTF-8 characters of the text.
std::size_t LeadingCharacters(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (; i < text.size() && count > 0; --count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;  // continuation bytes
    }
    return i;
}

struct FixedCurrency {
    std::string_view code;
    bool padlocked;  // one of the eleven first members, whose rows the rate list locks
};

constexpr std::array<FixedCurrency, 22> kFixedToEuro = {{
    {"EUR", false}, {"ATS", true},  {"BEF", true},  {"DEM", true},  {"ESP", true},  {"FIM", true},
    {"FRF", true},  {"IEP", true},  {"ITL", true},  {"LUF", true},  {"NLG", true},  {"PTE", true},
    {"GRD", false}, {"SIT", false}, {"CYP", false}, {"MTL", false}, {"SKK", false}, {"EEK", false},
    {"LVL", false}, {"LTL", false}, {"HRK", false}, {"BGN", false},
}};

const FixedCurrency* FindFixedCurrency(std::string_view code) {
    const auto found = std::find_if(kFixedToEuro.begin(), kFixedToEuro.end(),
                                    [code](const FixedCurrency& currency) { return currency.code == code; });
    return found == kFixedToEuro.end() ? nullptr : &*found;
}

}  // namespace

bool IsFixedToEuro(std::string_view code) { return FindFixedCurrency(code) != nullptr; }

bool IsPadlockedCurrency(std::string_view title) {
    if (title.size() < 3) return false;
    const FixedCurrency* currency = FindFixedCurrency(title.substr(0, 3));
    return currency != nullptr && currency->padlocked;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string CurrencyCode(std::string_view title) { return std::string(title.substr(0, LeadingCharacters(title, 3))); }

std::string MemoryCurrencyPrefix(std::string_view title) {
    return std::string(title.substr(0, LeadingCharacters(title, 4)));
}

std::string AfterMemoryCurrencyPrefix(std::string_view title, std::size_t limit) {
    const std::string_view after = title.substr(LeadingCharacters(title, 4));
    return std::string(after.substr(0, LeadingCharacters(after, limit)));
}

}  // namespace devical::engine
