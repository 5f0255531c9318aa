// Which rates a list may hold: any number, zero and negative ones included (a negative tax
// is a discount; a conversion that divides by a rate of 0 reports it). A text that is not a
// number is refused, with a message, rather than stored as a rate of 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devical::engine {

// The refusal's message, or nothing when the rate can be stored.
std::optional<std::string> RateRefusal(std::string_view text, char decimalSeparator);

}  // namespace devical::engine
