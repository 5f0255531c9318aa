#include "engine/rate_check.h"

#include "engine/amount.h"

namespace devical::engine {

std::optional<std::string_view> RateRefusal(std::string_view text, RateKind kind, char decimalSeparator) {
    const auto rate = ReadNumber(NormaliseSeparator(text, decimalSeparator), decimalSeparator);
    if (kind == RateKind::Currency) {
        // A rate of zero would make every national amount 0 and every division overflow.
        if (!rate || !(*rate > 0)) return "BadRate";
    } else {
        if (!rate || !(*rate >= 0)) return "BadTaxRate";
    }
    return std::nullopt;
}

}  // namespace devical::engine
