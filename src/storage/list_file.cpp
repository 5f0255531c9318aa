#include "storage/list_file.h"

#include <algorithm>
#include <array>

#include "engine/amount.h"
#include "engine/currency.h"
#include "storage/cp1252.h"
#include "storage/file_io.h"
#include "storage/text_lines.h"

namespace devical::storage {

std::optional<std::vector<ListRecord>> LoadList(const std::filesystem::path& path, int fieldsPerRecord,
                                                char decimalSeparator) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    std::vector<ListRecord> records;
    for (std::size_t next = 0; next < lines.size();) {
        ListRecord record;
        for (int field = 0; field < fieldsPerRecord; ++field) {
            std::string text = next < lines.size() ? Cp1252ToUtf8(lines[next++]) : std::string();
            record.push_back(field == 0 ? std::move(text) : engine::NormaliseSeparator(text, decimalSeparator));
        }
        records.push_back(std::move(record));
    }
    return records;
}

void SaveList(const std::filesystem::path& path, const std::vector<ListRecord>& records) {
    std::vector<std::string> lines;
    for (const ListRecord& record : records)
        for (const std::string& field : record)
            lines.push_back(OneLine(Utf8ToCp1252(field)));
    ReplaceFileContents(path, JoinLines(lines));
}

bool IsLockedCurrency(std::string_view title) {
    static constexpr std::array<std::string_view, 11> kLockedCodes = {"ATS", "BEF", "DEM", "ESP", "FRF", "IEP",
                                                                      "ITL", "LUF", "FIM", "NLG", "PTE"};
    return title.size() >= 3 &&
           std::find(kLockedCodes.begin(), kLockedCodes.end(), engine::CurrencyCode(title)) != kLockedCodes.end();
}

}  // namespace devical::storage
