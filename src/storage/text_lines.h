// The line format shared by the settings, language and list files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace devical::storage {

// A line ends at a carriage return (a line feed right after it belongs to the same line
// end; a line feed alone does not end a line); byte 26 (Ctrl+Z) ends the file.
std::vector<std::string> SplitLines(std::string_view bytes);

// A text fit to be one line of a file: a line break or a Ctrl+Z inside it would cut the
// file differently when read back, so each becomes a blank.
std::string OneLine(std::string_view text);

// Every line followed by CR LF, the last one too.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace devical::storage
