// Rates.txt, Taxes.txt and Memory.txt: records of two or three lines (a title, then one
// or two amounts), nothing between them, in the order of the list.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devical::storage {

// Title first, then the amount texts.
using ListRecord = std::vector<std::string>;

inline constexpr int kRateFields = 2;    // Rates.txt, Taxes.txt
inline constexpr int kMemoryFields = 3;  // Memory.txt

// The records of the file, or nothing when it does not exist. A record cut short by the
// end of the file still counts, with empty fields; blank lines are fields like any other.
// Amounts pass through NormaliseSeparator; titles are kept as read. Throws FileError.
std::optional<std::vector<ListRecord>> LoadList(const std::filesystem::path& path, int fieldsPerRecord,
                                                char decimalSeparator);

// Rewrites the file from the records in the order given, one line per field, through the
// safe rewrite. Throws FileError.
void SaveList(const std::filesystem::path& path, const std::vector<ListRecord>& records);

// The euro-area currencies whose rates were fixed: their rows cannot be edited or deleted.
bool IsLockedCurrency(std::string_view title);

}  // namespace devical::storage
