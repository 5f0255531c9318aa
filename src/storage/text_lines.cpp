#include "storage/text_lines.h"

#include <algorithm>

namespace devical::storage {

std::size_t TextSize(std::string_view bytes) {
    constexpr char kEndOfFile = 26;
    return std::min(bytes.find(kEndOfFile), bytes.size());
}

std::vector<FileLine> SplitLinesWithEnds(std::string_view bytes) {
    bytes = bytes.substr(0, TextSize(bytes));
    std::vector<FileLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        const std::size_t next = end + (crLf ? 2 : 1);
        lines.push_back({std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, next - end))});
        start = next;
    }
    return lines;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> texts;
    for (FileLine& line : SplitLinesWithEnds(bytes)) texts.push_back(std::move(line.text));
    return texts;
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == 26) c = ' ';
    }
    return line;
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace devical::storage
