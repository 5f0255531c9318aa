#include "storage/cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace devical::storage {

namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOf(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i; a malformed one reads as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int length = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = lead & (0x3F >> length);
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return 0xFFFD;
    for (int k = 0; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (next & 0x3F);
        ++i;
    }
    return c;
}

// The code page's byte for the character, if it has one.
std::optional<char> ByteFor(char32_t c) {
    static const auto highBytes = [] {
        std::unordered_map<char32_t, char> map;
        for (unsigned byte = 0x80; byte < 0xA0; ++byte)
            map[kHighControls[byte - 0x80]] = static_cast<char>(byte);
        return map;
    }();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    if (auto it = highBytes.find(c); it != highBytes.end()) return it->second;
    return std::nullopt;
}

// Plain ASCII, as most titles and every amount are, is the same text in both.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(byte)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        out += ByteFor(NextCodePoint(text, i)).value_or('?');
    return out;
}

bool FitsCp1252(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        if (!ByteFor(NextCodePoint(utf8, i))) return false;
    }
    return true;
}

}  // namespace devical::storage
