// Tape.txt: the paper tape kept between runs, one line of the tape a line of text, its
// fields between tabs: time, key, amount, box, currency, converted amount, its currency.
// Lines are added at the end as they are printed; the file is rewritten whole only when it
// is cut back to its last lines or cleared.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/tape.h"
#include "storage/text_encoding.h"

namespace devical::storage {

inline constexpr std::string_view kTapeFileName = "Tape.txt";

// A line of the tape as the file holds it (UTF-8, before the file's own code), and back:
// nothing for a line that does not read whole, which is then skipped.
std::string TapeRecord(const engine::TapeLine& line);
std::optional<engine::TapeLine> ReadTapeRecord(std::string_view record);

class TapeFile {
public:
    explicit TapeFile(std::filesystem::path path);
    ~TapeFile();
    TapeFile(const TapeFile&) = delete;
    TapeFile& operator=(const TapeFile&) = delete;

    // The last `limit` lines that read; a missing file is an empty tape. A Ctrl+Z does not end
    // the file, as it ends the other text files: its line is damaged, and the lines after it
    // are read. Throws FileError.
    std::deque<engine::TapeLine> Load(std::size_t limit);
    // One line at the end, without rewriting the rest. Throws FileError.
    void Append(const engine::TapeLine& line);
    // The whole file replaced by these lines, all or nothing. Throws FileError.
    void Rewrite(const std::deque<engine::TapeLine>& lines);
    // The file cut back to its last `keep` lines that read, as the file holds them now: what
    // another writer or an editor added since it was loaded stays. Throws FileError.
    void CutBack(std::size_t keep);
    // The lines the file holds, damaged ones included: what a cut back would shorten.
    std::size_t LineCount() const { return lineCount_; }

private:
    void CloseAppending();
    void TurnToUtf8();
    bool NameStillHoldsOpenFile() const;

    std::filesystem::path path_;
    TextFormat format_;
    bool lastLineOpen_ = false;  // the file ends in the middle of a line (a write cut short)
    std::size_t lineCount_ = 0;
    int appending_ = -1;
};

}  // namespace devical::storage
