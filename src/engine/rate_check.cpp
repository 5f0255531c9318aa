#include "engine/rate_check.h"

#include "engine/amount.h"
#include "engine/builtin_texts.h"

namespace devical::engine {

std::optional<std::string> RateRefusal(std::string_view text, char decimalSeparator) {
    if (ReadNumber(NormaliseSeparator(text, decimalSeparator), decimalSeparator)) return std::nullopt;
    return BuiltInText("NotANumber", {text});
}

}  // namespace devical::engine
