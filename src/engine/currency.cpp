#include "engine/currency.h"

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

}  // namespace

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
