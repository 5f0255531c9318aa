#include "storage/text_lines.h"

#include <algorithm>
#include <utility>

namespace devical::storage {

std::size_t TextSize(std::string_view bytes) {
    constexpr char kEndOfFile = 26;
    return std::min(bytes.find(kEndOfFile), bytes.size());
}

namespace {

// The line at `start` with the bytes that end it, `start` moved past them.
std::pair<std::string_view, std::string_view> NextLineWithEnd(std::string_view text, std::size_t& start) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    const std::size_t next = std::min(end + (crLf ? 2 : 1), text.size());
    const std::size_t begin = std::exchange(start, next);
    return {text.substr(begin, end - begin), text.substr(end, next - end)};
}

// Calls line(text, end) for each line in the order of the file, as SplitLinesWithEnds
// describes them.
template <typename Line>
void ForEachLine(std::string_view bytes, Line line) {
    bytes = bytes.substr(0, TextSize(bytes));
    for (std::size_t start = 0; start < bytes.size();) {
        const auto [text, end] = NextLineWithEnd(bytes, start);
        line(text, end);
    }
}

}  // namespace

std::string_view NextLine(std::string_view text, std::size_t& start) { return NextLineWithEnd(text, start).first; }

std::string_view DominantLineEnd(std::string_view bytes) {
    bytes = bytes.substr(0, TextSize(bytes));
    std::size_t crLf = 0, lf = 0, cr = 0;
    for (std::size_t at = bytes.find_first_of("\r\n"); at != std::string_view::npos;
         at = bytes.find_first_of("\r\n", at + 1)) {
        if (bytes[at] == '\n') {
            ++lf;
        } else if (at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            ++crLf;
            ++at;
        } else {
            ++cr;
        }
    }
    if (lf > crLf && lf > cr) return "\n";
    if (cr > crLf && cr > lf) return "\r";
    return "\r\n";
}

std::vector<FileLine> SplitLinesWithEnds(std::string_view bytes) {
    std::vector<FileLine> lines;
    ForEachLine(bytes, [&lines](std::string_view text, std::string_view end) {
        lines.push_back({std::string(text), std::string(end)});
    });
    return lines;
}

std::string TabField(std::string_view text) {
    std::string field = OneLine(text);
    std::replace(field.begin(), field.end(), '\t', ' ');
    return field;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> texts;
    ForEachLine(bytes, [&texts](std::string_view text, std::string_view) { texts.emplace_back(text); });
    return texts;
}

std::vector<std::string_view> TabFields(std::string_view record) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = record.find('\t', start);
        fields.push_back(record.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
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

}  // namespace devical::storage
