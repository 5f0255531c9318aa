#include "storage/tape_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>
#include <vector>

#include "engine/iso_day.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/file_staging.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace {

using engine::TapeMark;

constexpr std::pair<TapeMark, std::string_view> kTokens[] = {
    {TapeMark::Divide, "/"},          {TapeMark::Times, "x"},           {TapeMark::Plus, "+"},
    {TapeMark::Minus, "-"},           {TapeMark::Percent, "%"},         {TapeMark::Equals, "="},
    {TapeMark::Total, "total"},       {TapeMark::Clear, "C"},           {TapeMark::CancelEntry, "CE"},
    {TapeMark::MemoryPlus, "M+"},     {TapeMark::MemoryMinus, "M-"},    {TapeMark::MemoryRecall, "MR"},
    {TapeMark::MemoryClear, "MC"},    {TapeMark::Currency, "currency"}, {TapeMark::Tax, "tax"},
    {TapeMark::Decimals, "decimals"},
};

std::string_view TokenOf(TapeMark mark) {
    for (const auto& [known, token] : kTokens)
        if (known == mark) return token;
    return {};
}

std::optional<TapeMark> MarkOf(std::string_view token) {
    for (const auto& [mark, known] : kTokens)
        if (known == token) return mark;
    return std::nullopt;
}

bool IsTime(std::string_view text) {
    constexpr std::string_view kShape = "0000-00-00 00:00:00";
    if (text.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i]) return false;
    return true;
}

// An amount written with either separator.
bool IsFigure(std::string_view text) {
    return engine::ReadNumber(text, ',').has_value() || engine::ReadNumber(text, '.').has_value();
}

bool HasBox(TapeMark mark) {
    switch (mark) {
    case TapeMark::Clear:
    case TapeMark::CancelEntry:
    case TapeMark::MemoryClear:
    case TapeMark::Currency:
    case TapeMark::Tax:
    case TapeMark::Decimals: return false;
    default: return true;
    }
}

// What each kind of line must hold to be shown and recalled as it was printed.
bool IsWhole(const engine::TapeLine& line) {
    if (!HasBox(line.mark)) {
        if (line.box != 0) return false;
        // A currency's line may name the day of its rate; no other setting has a second field.
        if (line.mark == TapeMark::Currency)
            return IsFigure(line.amount) && (line.converted.empty() || engine::IsoDay(line.converted));
        if (!line.converted.empty()) return false;
        switch (line.mark) {
        case TapeMark::Tax: return IsFigure(line.amount);
        case TapeMark::Decimals: return engine::IsUsableDecimals(line.amount);
        default: return line.amount.empty();
        }
    }
    return line.box >= 1 && line.box <= 6 && IsFigure(line.amount) &&
           (line.converted.empty() || IsFigure(line.converted));
}

}  // namespace

std::string TapeRecord(const engine::TapeLine& line) {
    std::string record = TabField(line.time);
    for (std::string_view field : {TokenOf(line.mark), std::string_view(line.amount)})
        record += '\t' + TabField(field);
    record += '\t' + std::to_string(line.box);
    for (const std::string* field : {&line.code, &line.converted, &line.convertedCode})
        record += '\t' + TabField(*field);
    return record;
}

std::optional<engine::TapeLine> ReadTapeRecord(std::string_view record) {
    const std::vector<std::string_view> fields = TabFields(record);
    if (fields.size() != 7 || !IsTime(fields[0])) return std::nullopt;
    const auto mark = MarkOf(fields[1]);
    if (!mark) return std::nullopt;
    engine::TapeLine line;
    line.time = fields[0];
    line.mark = *mark;
    line.amount = fields[2];
    const auto [end, error] = std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), line.box);
    if (error != std::errc() || end != fields[3].data() + fields[3].size()) return std::nullopt;
    line.code = fields[4];
    line.converted = fields[5];
    line.convertedCode = fields[6];
    if (!IsWhole(line)) return std::nullopt;
    return line;
}

TapeFile::TapeFile(std::filesystem::path path) : path_(std::move(path)) {}

TapeFile::~TapeFile() { CloseAppending(); }

void TapeFile::CloseAppending() {
    if (appending_ >= 0) ::close(appending_);
    appending_ = -1;
}

std::deque<engine::TapeLine> TapeFile::Load(std::size_t limit) {
    std::deque<engine::TapeLine> lines;
    std::error_code missing;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path_, missing))) return lines;
    std::string bytes = ReadFileBytes(path_);
    // The tape is the program's own log, not a text that a Ctrl+Z ends: a stray one only
    // damages its line. As a NUL, which no whole record holds, it neither ends the text
    // nor hides the file's code and line end from FormatOf.
    std::replace(bytes.begin(), bytes.end(), '\x1a', '\0');
    format_ = FormatOf(bytes);
    lastLineOpen_ = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
    const std::string_view text = bytes;
    lineCount_ = 0;
    for (std::size_t start = ByteOrderMark(format_).size(); start < text.size();) {
        const std::string_view record = NextLine(text, start);
        ++lineCount_;
        if (record.find('\0') != std::string_view::npos) continue;
        auto line = ReadTapeRecord(Decode(record, format_.encoding));
        if (!line) continue;
        lines.push_back(std::move(*line));
        if (lines.size() > limit) lines.pop_front();
    }
    return lines;
}

bool TapeFile::NameStillHoldsOpenFile() const {
    struct stat byName {
    }, open{};
    return ::lstat(path_.c_str(), &byName) == 0 && ::fstat(appending_, &open) == 0 && byName.st_dev == open.st_dev &&
           byName.st_ino == open.st_ino;
}

// Every line of the file as it reads, in UTF-8: a letter the file's code lacks can then be
// added without becoming '?'. Under the directory's lock, from the file as it is on disk.
void TapeFile::TurnToUtf8() {
    const DirectoryLock lock(path_.parent_path());
    std::error_code missing;
    const std::string bytes =
        std::filesystem::exists(std::filesystem::symlink_status(path_, missing)) ? ReadFileBytes(path_) : std::string();
    const TextFormat onDisk = FormatOf(bytes);
    format_ = {TextEncoding::Utf8, onDisk.byteOrderMark, onDisk.lineEnd};
    std::string converted(ByteOrderMark(format_));
    const std::string_view text = bytes;
    lineCount_ = 0;
    for (std::size_t start = ByteOrderMark(onDisk).size(); start < text.size(); ++lineCount_)
        converted += Decode(NextLine(text, start), onDisk.encoding) + std::string(format_.lineEnd);
    ReplaceFileContents(path_, converted);
    CloseAppending();  // the name holds a new file
    lastLineOpen_ = false;
}

void TapeFile::Append(const engine::TapeLine& line) {
    const std::string record = TapeRecord(line);
    if (!Fits(record, format_.encoding)) TurnToUtf8();
    // An editor that saved the tape put a new file under its name: the lines go there.
    if (appending_ >= 0 && !NameStillHoldsOpenFile()) CloseAppending();
    if (appending_ < 0) {
        // Never through a link, never waiting on a FIFO; a file that may not be written stays as it is.
        const int fd = ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) staging::Fail("CannotWrite", path_, errno);
        appending_ = fd;
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            const int error = errno;
            CloseAppending();
            staging::Fail("CannotWrite", path_, error);
        }
        try {
            staging::RefuseUnwritable(path_, info);
        } catch (const FileError&) {
            CloseAppending();
            throw;
        }
        // Whether the file ends inside a line (a write cut short, an editor's save) is the file's to say.
        char last = '\n';
        if (info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) == 1)
            lastLineOpen_ = last != '\n' && last != '\r';
    }
    const std::string_view end = format_.lineEnd;
    std::string bytes = lastLineOpen_ ? std::string(end) : std::string();
    bytes += Encode(record, format_.encoding);
    bytes += end;
    // One write: a line is added whole, or the next start skips what was cut.
    try {
        staging::WriteAll(appending_, bytes);
    } catch (const std::system_error& failure) {
        CloseAppending();
        lastLineOpen_ = true;  // whatever part got through is ended by the next line
        staging::Fail("CannotWrite", path_, failure.code().value());
    }
    lastLineOpen_ = false;
    ++lineCount_;
}

void TapeFile::CutBack(std::size_t keep) {
    // Nobody may add a line between our reading and our writing.
    const DirectoryLock lock(path_.parent_path());
    Rewrite(Load(keep));
}

void TapeFile::Rewrite(const std::deque<engine::TapeLine>& lines) {
    // A line an editor wrote in UTF-8 may hold a letter the file's code lacks: the file is
    // then written in UTF-8, as adding such a line turns it.
    std::vector<std::string> records;
    records.reserve(lines.size());
    for (const engine::TapeLine& line : lines)
        records.push_back(TapeRecord(line));
    if (!std::all_of(records.begin(), records.end(),
                     [this](const std::string& record) { return Fits(record, format_.encoding); }))
        format_.encoding = TextEncoding::Utf8;
    std::string bytes(ByteOrderMark(format_));
    for (const std::string& record : records)
        bytes += Encode(record, format_.encoding) + std::string(format_.lineEnd);
    ReplaceFileContents(path_, bytes);
    // The name now holds a new file: the next line opens it.
    CloseAppending();
    lineCount_ = lines.size();
    lastLineOpen_ = false;
}

}  // namespace devical::storage
