#include "storage/text_lines.h"

#include <algorithm>

namespace devical::storage {

std::size_t TextSize(std::string_view bytes) {
    constexpr char kEndOfFile = 26;
    return std::min(bytes.find(kEndOfFile), bytes.size());
}

namespace {

// Calls line(text, end) for each line in the order of the file, as SplitLinesWithEnds
// describes them.
template <typename Line>
void ForEachLine(std::string_view bytes, Line line) {
    bytes = bytes.substr(0, TextSize(bytes));
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const bool crLf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        const std::size_t next = std::min(end + (crLf ? 2 : 1), bytes.size());
        line(bytes.substr(start, end - start), bytes.substr(end, next - end));
        start = next;
    }
}

}  // namespace

std::vector<FileLine> SplitLinesWithEnds(std::string_view bytes) {
    std::vector<FileLine> lines;
    ForEachLine(bytes, [&lines](std::string_view text, std::string_view end) {
        lines.push_back({std::string(text), std::string(end)});
    });
    return lines;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> texts;
    ForEachLine(bytes, [&texts](std::string_view text, std::string_view) { texts.emplace_back(text); });
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
