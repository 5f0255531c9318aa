#include "engine/rate_check.h"

#include "engine/amount.h"
#include "engine/messages.h"

namespace devical::engine {

std::optional<std::string> RateRefusal(std::string_view text, char decimalSeparator) {
    if (ReadNumber(NormaliseSeparator(text, decimalSeparator), decimalSeparator)) return std::nullopt;
    return NotANumberMessage(text);
}

}  // namespace devical::engine
