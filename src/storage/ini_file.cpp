#include "storage/ini_file.h"

#include "storage/cp1252.h"
#include "storage/file_io.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace {

bool Contains(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

// Added at the end of the file: a last line without a line end first gets one, or the two
// would read as a single line.
void AppendLine(std::vector<FileLine>& lines, FileLine line) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
    lines.push_back(std::move(line));
}

}  // namespace

IniDocument::IniDocument(std::string_view fileBytes)
    : lines_(SplitLinesWithEnds(fileBytes)), afterText_(fileBytes.substr(TextSize(fileBytes))) {}

IniDocument IniDocument::Load(const std::filesystem::path& path) { return IniDocument(ReadFileBytes(path)); }

std::string IniDocument::Read(std::string_view section, std::string_view key, std::string_view defaultText) const {
    const std::string header = "[" + Utf8ToCp1252(section) + "]";
    const std::string entry = Utf8ToCp1252(key) + "=";
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
        found = lines_[j].text.substr(entry.size());
        i = j + 1;
    }
    return found.empty() ? std::string(defaultText) : Cp1252ToUtf8(found);
}

void IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string header = "[" + UpperAscii(Utf8ToCp1252(section)) + "]";
    const std::string upperEntry = UpperAscii(Utf8ToCp1252(key)) + "=";
    const FileLine newLine{OneLine(Utf8ToCp1252(key) + "=" + Utf8ToCp1252(value)), "\r\n"};
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
        AppendLine(out, {OneLine("[" + Utf8ToCp1252(section) + "]"), "\r\n"});
        AppendLine(out, newLine);
    }
    lines_ = std::move(out);
}

std::string IniDocument::Bytes() const {
    std::string bytes;
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
    UpdateFileContents(path, [&](const std::string& bytes) {
        IniDocument document(bytes);
        document.Write(section, key, value);
        return document.Bytes();
    });
}

}  // namespace devical::storage
