#include "storage/list_file.h"

#include <algorithm>
#include <array>

#include "engine/amount.h"
#include "engine/currency.h"
#include "storage/file_io.h"
#include "storage/text_lines.h"

namespace devical::storage {

ListReader::ListReader(const std::filesystem::path& path, int fieldsPerRecord, char decimalSeparator)
    : fieldsPerRecord_(fieldsPerRecord), decimalSeparator_(decimalSeparator) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return;
    exists_ = true;
    bytes_ = ReadFileBytes(path, &stamp_);
    format_ = FormatOf(bytes_);
    text_ = std::string_view(bytes_).substr(0, TextSize(bytes_));
    next_ = ByteOrderMark(format_).size();
}

bool ListReader::Next(std::span<std::string> fields) {
    if (next_ >= text_.size()) return false;
    for (int field = 0; field < fieldsPerRecord_; ++field) {
        std::string& text = fields[static_cast<std::size_t>(field)];
        text = next_ < text_.size() ? Decode(NextLine(text_, next_), format_.encoding) : std::string();
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

void AppendListLine(std::string& bytes, std::string_view field, const TextFormat& format) {
    bytes += OneLine(Encode(field, format.encoding));
    bytes += format.lineEnd;
}

bool IsLockedCurrency(std::string_view title) {
    static constexpr std::array<std::string_view, 11> kLockedCodes = {"ATS", "BEF", "DEM", "ESP", "FRF", "IEP",
                                                                      "ITL", "LUF", "FIM", "NLG", "PTE"};
    return title.size() >= 3 &&
           std::find(kLockedCodes.begin(), kLockedCodes.end(), engine::CurrencyCode(title)) != kLockedCodes.end();
}

}  // namespace devical::storage
