// Currency titles begin with the currency's three-letter code and a blank ("FRF Franc
// français"); the code names the currency in the memory register, the deviation report and
// the locked rows of the rate list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace devical::engine {

// The number of characters of a UTF-8 text (its bytes less the continuation bytes).
std::size_t CharacterCount(std::string_view text);

// The title's first three characters (fewer for a shorter title). Titles are UTF-8.
std::string CurrencyCode(std::string_view title);

// Whether the code names a currency whose rate to the euro is fixed for good (EUR itself and
// the currencies the euro replaced): the bank publishes no rate for them.
bool IsFixedToEuro(std::string_view code);

// Whether a currency list row with this title is padlocked: it begins with the code of one of the
// eleven first currencies fixed to the euro, letter case included. Its rate cannot be edited.
bool IsPadlockedCurrency(std::string_view title);

// The title's first four characters: the code and the blank put in front of memory titles.
std::string MemoryCurrencyPrefix(std::string_view title);

// The title after that prefix: from its fifth character on, at most `limit` characters.
std::string AfterMemoryCurrencyPrefix(std::string_view title, std::size_t limit = std::string_view::npos);

}  // namespace devical::engine
