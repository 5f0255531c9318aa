#include "storage/list_file.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "engine/amount.h"
#include "engine/builtin_texts.h"
#include "storage/file_io.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace {

constexpr std::size_t kNowhere = std::string_view::npos;

// Where the first of the bytes is, or kNowhere: memchr for each, each search stopping where a
// byte was already found.
std::size_t FirstOf(std::string_view text, std::initializer_list<char> bytes) {
    std::size_t first = kNowhere;
    if (text.empty()) return first;
    for (const char byte : bytes) {
        const void* at = std::memchr(text.data(), byte, std::min(first, text.size()));
        if (at) first = static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
    }
    return first;
}

// Where the last line break is, or kNowhere.
std::size_t LastBreak(std::string_view text) {
    std::size_t last = kNowhere;
    for (const char byte : {'\n', '\r'}) {
        const std::size_t from = last == kNowhere ? 0 : last + 1;
        const void* at = ::memrchr(text.data() + from, byte, text.size() - from);
        if (at) last = static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
    }
    return last;
}

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The list file's bytes as kept, fed a block at a time: each line cut at kLongestListLine
// bytes, and nothing from the first Ctrl+Z on. It never holds more than that, whatever the
// size of the file.
class KeptLines {
public:
    explicit KeptLines(std::string& bytes) : bytes_(bytes) {}

    // False from the Ctrl+Z on: nothing after it is the file's text.
    bool Take(std::string_view block) {
        const std::string_view text = block.substr(0, TextSize(block));
        std::string_view kept = text;
        if (dropping_) {
            const std::size_t lineEnd = FirstOf(text, {'\r', '\n'});
            if (lineEnd != kNowhere) dropping_ = false;
            kept = lineEnd == kNowhere ? std::string_view() : text.substr(lineEnd);
        }
        bytes_.append(kept);
        CutLongLines();
        return text.size() == block.size();
    }

    std::size_t CutLines() const { return cutLines_; }
    std::size_t FirstCutLine() const { return firstCutLine_; }

private:
    // Walks the line still open a window at a time, jumping to the last break in each; a
    // window without one is a line too long.
    void CutLongLines() {
        while (bytes_.size() - lineStart_ > kLongestListLine) {
            const std::string_view window(bytes_.data() + lineStart_, kLongestListLine + 1);
            if (const std::size_t lastBreak = LastBreak(window); lastBreak != kNowhere) {
                lineStart_ += lastBreak + 1;
                continue;
            }
            // Not inside a UTF-8 character; in a Windows-1252 file a few more letters go.
            std::size_t cut = lineStart_ + kLongestListLine;
            for (int back = 0; back < 3 && IsUtf8Continuation(bytes_[cut]); ++back)
                --cut;
            if (cutLines_++ == 0) firstCutLine_ = LineNumberAt(lineStart_);
            const std::size_t lineEnd = FirstOf(std::string_view(bytes_).substr(cut), {'\r', '\n'});
            if (lineEnd == kNowhere) {
                bytes_.resize(cut);
                dropping_ = true;
                return;
            }
            bytes_.erase(cut, lineEnd);
            lineStart_ = cut;
        }
    }

    // The line that begins at `at`, counted from 1 as an editor counts it.
    std::size_t LineNumberAt(std::size_t at) const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < at; ++i)
            if (bytes_[i] == '\n' || (bytes_[i] == '\r' && bytes_[i + 1] != '\n')) ++line;
        return line;
    }

    std::string& bytes_;
    std::size_t lineStart_ = 0;  // where the line still open begins
    bool dropping_ = false;      // the open line was cut: its bytes up to its end are not kept
    std::size_t cutLines_ = 0, firstCutLine_ = 0;
};

}  // namespace

ListReader::ListReader(const std::filesystem::path& path, int fieldsPerRecord, char decimalSeparator)
    : fieldsPerRecord_(fieldsPerRecord), decimalSeparator_(decimalSeparator) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return;
    exists_ = true;
    // Room for the whole file, taken only as far as it is filled: a line cut short leaves the
    // rest of it untouched.
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) bytes_.reserve(static_cast<std::size_t>(size));
    KeptLines kept(bytes_);
    ReadFileBlocks(
        path, [&kept](std::string_view block) { return kept.Take(block); }, &stamp_);
    if (kept.CutLines() > 0) {
        bytes_.shrink_to_fit();
        const std::string file = path.string(), longest = std::to_string(kLongestListLine);
        const std::string first = std::to_string(kept.FirstCutLine());
        problems_.push_back(
            kept.CutLines() == 1
                ? engine::BuiltInText("ListLineCut", {file, first, longest})
                : engine::BuiltInText("ListLinesCut", {file, std::to_string(kept.CutLines()), longest, first}));
    }
    format_ = FormatOf(bytes_);
    text_ = std::string_view(bytes_).substr(0, TextSize(bytes_));
    next_ = ByteOrderMark(format_).size();
}

bool ListReader::Next(std::span<std::string> fields) {
    if (next_ >= text_.size()) return false;
    for (int field = 0; field < fieldsPerRecord_; ++field) {
        std::string& text = fields[static_cast<std::size_t>(field)];
        const std::string_view line = next_ < text_.size() ? NextLine(text_, next_) : std::string_view();
        text = Decode(line, format_.encoding);
        if (format_.encoding == TextEncoding::Cp1252 && IsUtf8AboveAscii(line)) utf8Lines_.insert(text);
        if (field > 0) text = engine::NormaliseSeparator(text, decimalSeparator_);
        text.shrink_to_fit();  // a title that grew as it was decoded keeps only its size
    }
    if (next_ >= text_.size()) {  // the last record: the bytes are no longer needed
        text_ = {};
        std::string().swap(bytes_);
    }
    return true;
}

std::optional<std::vector<ListRecord>> LoadList(const std::filesystem::path& path, int fieldsPerRecord,
                                                char decimalSeparator) {
    ListReader reader(path, fieldsPerRecord, decimalSeparator);
    if (!reader.Exists()) return std::nullopt;
    std::vector<ListRecord> records;
    ListRecord record(static_cast<std::size_t>(fieldsPerRecord));
    while (reader.Next(record))
        records.push_back(record);
    return records;
}

void SaveList(const std::filesystem::path& path, const std::vector<ListRecord>& records, const TextFormat& format) {
    std::string bytes(ByteOrderMark(format));
    for (const ListRecord& record : records)
        for (const std::string& field : record)
            AppendListLine(bytes, field, format);
    ReplaceFileContents(path, bytes);
}

ListInPlace::ListInPlace(std::string bytes, int fieldsPerRecord)
    : bytes_(std::move(bytes)),
      format_(FormatOf(bytes_)),
      lines_(SplitLinesWithEnds(std::string_view(bytes_).substr(ByteOrderMark(format_).size()))),
      fieldsPerRecord_(static_cast<std::size_t>(fieldsPerRecord)) {}

std::size_t ListInPlace::RecordCount() const { return (lines_.size() + fieldsPerRecord_ - 1) / fieldsPerRecord_; }

std::size_t ListInPlace::LineOf(std::size_t record, int field) const {
    return record * fieldsPerRecord_ + static_cast<std::size_t>(field);
}

std::string ListInPlace::Field(std::size_t record, int field) const {
    const std::size_t line = LineOf(record, field);
    return line < lines_.size() ? Decode(lines_[line].text, format_.encoding) : std::string();
}

void ListInPlace::EndLastLine() {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = format_.lineEnd;
}

void ListInPlace::SetField(std::size_t record, int field, std::string_view text) {
    MakeRoomFor(text, format_, lines_);
    const std::size_t line = LineOf(record, field);
    if (line >= lines_.size()) {
        EndLastLine();
        lines_.resize(line + 1, {"", std::string(format_.lineEnd)});
    }
    lines_[line].text = OneLine(Encode(text, format_.encoding));
}

void ListInPlace::Append(const ListRecord& record) {
    for (const std::string& field : record)
        MakeRoomFor(field, format_, lines_);
    EndLastLine();
    lines_.resize(RecordCount() * fieldsPerRecord_, {"", std::string(format_.lineEnd)});  // what a record lacked
    for (const std::string& field : record)
        lines_.push_back({OneLine(Encode(field, format_.encoding)), std::string(format_.lineEnd)});
}

std::string ListInPlace::Bytes() const {
    const std::size_t mark = ByteOrderMark(format_).size();
    std::string bytes(bytes_.substr(0, mark));
    for (const FileLine& line : lines_)
        bytes += line.text + line.end;
    bytes += bytes_.substr(std::max(TextSize(bytes_), mark));
    return bytes;
}

void AppendListLine(std::string& bytes, std::string_view field, const TextFormat& format) {
    bytes += OneLine(Encode(field, format.encoding));
    bytes += format.lineEnd;
}

}  // namespace devical::storage
