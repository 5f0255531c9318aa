// The hidden credit of Ctrl+Shift+F1, kept out of plain sight in the program's bytes.
#pragma once

#include <string>

namespace devical::storage {

// Its two paragraphs, UTF-8, separated by a blank line.
std::string HiddenCredit();

}  // namespace devical::storage
