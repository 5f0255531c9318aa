#include "storage/ini_file.h"

#include <algorithm>

#include "storage/file_io.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace {

bool Contains(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The line less as many characters as the text has: in UTF-8 a letter above ASCII takes
// several bytes, and a value must not begin inside one.
std::string_view AfterAsManyCharacters(std::string_view line, std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Cp1252) return line.substr(text.size());
    auto characters = std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); });
    std::size_t at = 0;
    for (; characters > 0 && at < line.size(); --characters) {
        ++at;
        while (at < line.size() && IsUtf8Continuation(line[at]))
            ++at;
    }
    return line.substr(at);
}

// Added at the end of the file: a last line without a line end first gets one, or the two
// would read as a single line.
void AppendLine(std::vector<FileLine>& lines, FileLine line) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = line.end;
    lines.push_back(std::move(line));
}

}  // namespace

IniDocument::IniDocument(std::string_view fileBytes)
    : format_(FormatOf(fileBytes)),
      lines_(SplitLinesWithEnds(fileBytes.substr(ByteOrderMark(format_).size()))),
      afterText_(fileBytes.substr(TextSize(fileBytes))) {}

IniDocument IniDocument::Load(const std::filesystem::path& path) {
    return IniDocument(ReadFileBytesUpTo(path, kLargestIniFile));
}

std::string IniDocument::Read(std::string_view section, std::string_view key, std::string_view defaultText) const {
    const std::string header = "[" + Encode(section, format_.encoding) + "]";
    const std::string entry = Encode(key, format_.encoding) + "=";
    std::string found;
    std::size_t i = 0;
    while (i < lines_.size()) {
        if (!Contains(lines_[i].text, header)) {
            ++i;
            continue;
        }
        // The key scan starts on the header line itself and does not stop at the next
        // section; a scan that finds nothing ends the whole search.
        std::size_t j = i;
        while (j < lines_.size() && !Contains(lines_[j].text, entry))
            ++j;
        if (j == lines_.size()) break;
        found = AfterAsManyCharacters(lines_[j].text, entry, format_.encoding);
        i = j + 1;
    }
    return found.empty() ? std::string(defaultText) : Decode(found, format_.encoding);
}

void IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    // A letter the file's code lacks turns the file to UTF-8 rather than to a '?'.
    for (const std::string_view text : {section, key, value})
        MakeRoomFor(text, format_, lines_);
    const std::string fileSection = Encode(section, format_.encoding);
    const std::string fileKey = Encode(key, format_.encoding);
    const std::string header = "[" + UpperAscii(fileSection) + "]";
    const std::string upperEntry = UpperAscii(fileKey) + "=";
    const std::string lineEnd(format_.lineEnd);
    const FileLine newLine{OneLine(fileKey + "=" + Encode(value, format_.encoding)), lineEnd};
    std::vector<FileLine> out;
    out.reserve(lines_.size() + 2);
    bool sectionFound = false;
    std::size_t i = 0;
    while (i < lines_.size()) {
        out.push_back(lines_[i]);
        if (!Contains(UpperAscii(lines_[i++].text), header)) continue;
        sectionFound = true;
        // The new entry lands in front of the next header, or at the very end of the file.
        for (;; ++i) {
            if (i == lines_.size()) {
                AppendLine(out, newLine);
                break;
            }
            if (Contains(UpperAscii(lines_[i].text), upperEntry)) {
                out.push_back(newLine);
                ++i;
                break;
            }
            if (!lines_[i].text.empty() && lines_[i].text[0] == '[') {
                out.push_back(newLine);
                out.push_back(lines_[i++]);
                break;
            }
            out.push_back(lines_[i]);
        }
    }
    if (!sectionFound) {
        AppendLine(out, {OneLine("[" + fileSection + "]"), lineEnd});
        AppendLine(out, newLine);
    }
    lines_ = std::move(out);
}

std::string IniDocument::Bytes() const {
    std::string bytes(ByteOrderMark(format_));
    for (const FileLine& line : lines_)
        bytes += line.text + line.end;
    return bytes + afterText_;
}

std::string IniRead(const std::filesystem::path& path, std::string_view section, std::string_view key,
                    std::string_view defaultText) {
    return IniDocument::Load(path).Read(section, key, defaultText);
}

void IniWrite(const std::filesystem::path& path, std::string_view section, std::string_view key,
              std::string_view value) {
    UpdateFileContents(
        path,
        [&](const std::string& bytes) {
            IniDocument document(bytes);
            document.Write(section, key, value);
            return document.Bytes();
        },
        kLargestIniFile);
}

}  // namespace devical::storage
