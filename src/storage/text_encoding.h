// The code a text file is in. Files are Windows-1252, as the shipped ones are; one saved by a
// UTF-8 editor with accented letters in it is read as UTF-8 and written back the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/text_lines.h"

namespace devical::storage {

enum class TextEncoding { Cp1252, Utf8 };

// How a file's text is written: its code, its byte-order mark, the line end of new lines.
// A new file gets the defaults.
struct TextFormat {
    TextEncoding encoding = TextEncoding::Cp1252;
    bool byteOrderMark = false;  // UTF-8 only
    std::string_view lineEnd = "\r\n";
};

// UTF-8 when the text (up to TextSize) begins with a byte-order mark, or is valid UTF-8 with at
// least one byte above ASCII: Windows-1252 accented letters next to plain ones almost never
// are. Windows-1252 otherwise. The line end is DominantLineEnd's.
TextFormat FormatOf(std::string_view bytes);

// The byte-order mark the format writes in front of the first line, if any.
std::string_view ByteOrderMark(const TextFormat& format);

// Whether the text is strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)
// with at least one byte above ASCII: what reads as UTF-8 even in a Windows-1252 file.
bool IsUtf8AboveAscii(std::string_view text);

// A text of the file to the program's UTF-8. In a Windows-1252 file, a text that is valid UTF-8
// with a byte above ASCII is read as UTF-8: a line an editor appended in UTF-8 reads whole.
std::string Decode(std::string_view bytes, TextEncoding encoding);

// Back to the file's code; in Windows-1252, characters outside the code page become '?', which
// a writer avoids by asking Fits first.
std::string Encode(std::string_view utf8, TextEncoding encoding);

// Whether the file's code holds every character of the text. A Windows-1252 file that must hold
// one it lacks is written whole as UTF-8 instead, which reads back as UTF-8.
bool Fits(std::string_view utf8, TextEncoding encoding);

// Before the text goes into a file held as its lines: when the file's code lacks one of its
// letters, every line is turned to UTF-8, and so is the file's code.
void MakeRoomFor(std::string_view utf8, TextFormat& format, std::vector<FileLine>& lines);

}  // namespace devical::storage
