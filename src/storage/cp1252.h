// Windows-1252 at the edges: files hold single bytes, the program works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace devical::storage {

// Every byte maps to one character; the five bytes the code page leaves undefined map to
// the control characters of the same number, so every byte round-trips.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters outside the code page become '?'.
std::string Utf8ToCp1252(std::string_view text);

// Whether every character of the text has a byte in the code page (the five controls
// above included), so that a file can hold it unchanged; malformed UTF-8 does not fit.
bool FitsCp1252(std::string_view utf8);

}  // namespace devical::storage
