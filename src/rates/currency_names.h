// The names of the currencies the ECB publishes, for the rows that --add appends.
#pragma once

#include <string>
#include <string_view>

#include "engine/builtin_texts.h"

namespace devical::rates {

// "CODE Name" in the language, as the shipped lists title their rows; the code twice for a
// currency the table does not know.
std::string CurrencyTitle(std::string_view code, engine::BuiltInLanguage language);

}  // namespace devical::rates
