// The line format shared by the settings, language and list files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace devical::storage {

// A line as the file holds it: its text and the bytes that end it ("\r\n", "\r", "\n", or
// nothing for a last line that runs into the end of the file).
struct FileLine {
    std::string text;
    std::string end;
};

// Where the file's text stops: at the first byte 26 (Ctrl+Z), or at the end of the bytes.
std::size_t TextSize(std::string_view bytes);

// A line ends at CR LF, at a carriage return alone or at a line feed alone, so that files
// saved by Windows, old Mac and Linux editors all read the same; the text stops at TextSize.
std::vector<FileLine> SplitLinesWithEnds(std::string_view bytes);

// The texts of the lines above.
std::vector<std::string> SplitLines(std::string_view bytes);

// One line at a time, for a file too big to split at once: the text of the line that begins
// at `start`, and `start` moved to the next one. `text` is already cut at TextSize; call while
// start < text.size().
std::string_view NextLine(std::string_view text, std::size_t& start);

// The line end most of the file's lines carry ("\r\n", "\n" or "\r"), for the lines the
// program adds; CR LF when none leads, as in a new or empty file. The text stops at TextSize.
std::string_view DominantLineEnd(std::string_view bytes);

// The fields of a record written one line with tabs between them, as the tape and the rates
// command's result are: n tabs give n + 1 fields, empty ones included.
std::vector<std::string_view> TabFields(std::string_view record);

// A text fit to be one such field: OneLine's, its tabs turned to blanks.
std::string TabField(std::string_view text);

// A text fit to be one line of a file: a line break or a Ctrl+Z inside it would cut the
// file differently when read back, so each becomes a blank.
std::string OneLine(std::string_view text);

// Only the letters a to z are folded: the files' names and headers are matched that way,
// whatever the accented letters around them.
std::string UpperAscii(std::string_view text);

}  // namespace devical::storage
