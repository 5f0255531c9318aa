// Which rates a list may hold: a rate typed into an entry dialog is refused, with a
// message, rather than stored as something the converter cannot use.
#pragma once

#include <optional>
#include <string_view>

namespace devical::engine {

enum class RateKind {
    Currency,  // units per euro: a number above zero
    Tax,       // percent: a number, zero or above
};

// The message key of the refusal, or nothing when the rate can be stored.
std::optional<std::string_view> RateRefusal(std::string_view text, RateKind kind, char decimalSeparator);

}  // namespace devical::engine
