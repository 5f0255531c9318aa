#include "storage/text_encoding.h"

#include "storage/cp1252.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool IsUtf8AboveAscii(std::string_view text) {
    bool aboveAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        aboveAscii = true;
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t c = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t smallest = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return aboveAscii;
}

TextFormat FormatOf(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, TextSize(bytes));
    TextFormat format;
    format.lineEnd = DominantLineEnd(text);
    format.byteOrderMark = text.starts_with(kByteOrderMark);
    if (format.byteOrderMark || IsUtf8AboveAscii(text)) format.encoding = TextEncoding::Utf8;
    return format;
}

std::string_view ByteOrderMark(const TextFormat& format) {
    return format.byteOrderMark ? kByteOrderMark : std::string_view();
}

std::string Decode(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || IsUtf8AboveAscii(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::string Encode(std::string_view utf8, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? std::string(utf8) : Utf8ToCp1252(utf8);
}

bool Fits(std::string_view utf8, TextEncoding encoding) { return encoding == TextEncoding::Utf8 || FitsCp1252(utf8); }

void MakeRoomFor(std::string_view utf8, TextFormat& format, std::vector<FileLine>& lines) {
    if (Fits(utf8, format.encoding)) return;
    for (FileLine& line : lines)
        line.text = Decode(line.text, format.encoding);
    format.encoding = TextEncoding::Utf8;
}

}  // namespace devical::storage
