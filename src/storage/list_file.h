// Rates.txt, Taxes.txt and Memory.txt: records of two or three lines (a title, then one
// or two amounts), nothing between them, in the order of the list.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_io.h"
#include "storage/text_encoding.h"
#include "storage/text_lines.h"

namespace devical::storage {

// Title first, then the amount texts.
using ListRecord = std::vector<std::string>;

inline constexpr int kRateFields = 2;    // Rates.txt, Taxes.txt
inline constexpr int kMemoryFields = 3;  // Memory.txt

// A title or an amount is a few dozen bytes: a line past this is cut there when read, so that
// a damaged file of one endless line cannot take the memory of its size.
inline constexpr std::size_t kLongestListLine = 4096;

// A list file read a record at a time, as LoadList reads it, so that a big list goes straight
// into its rows: the file's bytes are all it holds, and only until the last record is read.
// Lines past kLongestListLine are cut there (never inside a UTF-8 character) as the file is
// read, and the rest of each is ignored.
class ListReader {
public:
    // Throws FileError.
    ListReader(const std::filesystem::path& path, int fieldsPerRecord, char decimalSeparator);

    // False when the file does not exist: there is no record.
    bool Exists() const { return exists_; }
    // What the file was as read: a stamp that does not exist for a missing file.
    const FileStamp& Stamp() const { return stamp_; }
    // How the file is written, for writing it back the same way.
    const TextFormat& Format() const { return format_; }
    // The next record into the fields (fieldsPerRecord of them), each replaced; false after
    // the last one.
    bool Next(std::span<std::string> fields);
    // What the reading found amiss, for the window to show: lines cut (one message naming the
    // file, the first such line and how many there are). Empty for a sound file.
    const std::vector<std::string>& Problems() const { return problems_; }
    // The texts of the lines read so far that an editor wrote in UTF-8 into a Windows-1252
    // file: written back, unchanged, they go back in UTF-8.
    const std::set<std::string, std::less<>>& Utf8Lines() const { return utf8Lines_; }

private:
    std::vector<std::string> problems_;
    std::set<std::string, std::less<>> utf8Lines_;
    std::string bytes_;
    std::string_view text_;  // the bytes up to the end of the file's text
    std::size_t next_ = 0;
    TextFormat format_;
    int fieldsPerRecord_;
    char decimalSeparator_;
    bool exists_ = false;
    FileStamp stamp_;
};

// The records of the file, or nothing when it does not exist. A record cut short by the
// end of the file still counts, with empty fields; blank lines are fields like any other.
// Amounts pass through NormaliseSeparator; titles are kept as read. Throws FileError.
std::optional<std::vector<ListRecord>> LoadList(const std::filesystem::path& path, int fieldsPerRecord,
                                                char decimalSeparator);

// Rewrites the file from the records in the order given, one line per field, in the format
// given, through the safe rewrite. Throws FileError.
void SaveList(const std::filesystem::path& path, const std::vector<ListRecord>& records, const TextFormat& format = {});

// A list file's records edited where they stand, for a change that must leave every other byte
// as it was (the rates command's new rates and added currencies): each line keeps its own end,
// and what follows a Ctrl+Z stays after the records. Fields are UTF-8, encoded as the file is.
class ListInPlace {
public:
    ListInPlace(std::string bytes, int fieldsPerRecord);

    const TextFormat& Format() const { return format_; }
    // A record cut short by the end of the file counts; its missing fields read empty.
    std::size_t RecordCount() const;
    std::string Field(std::size_t record, int field) const;
    // Completes a record cut short when its missing field is set.
    void SetField(std::size_t record, int field, std::string_view text);
    void Append(const ListRecord& record);
    // The file's bytes with the changes made.
    std::string Bytes() const;

private:
    std::size_t LineOf(std::size_t record, int field) const;
    void EndLastLine();

    std::string bytes_;
    TextFormat format_;
    std::vector<FileLine> lines_;
    std::size_t fieldsPerRecord_;
};

// One field as SaveList writes it, appended to the file's bytes: its line in the format's
// code with the format's line end after it.
void AppendListLine(std::string& bytes, std::string_view field, const TextFormat& format);

}  // namespace devical::storage
