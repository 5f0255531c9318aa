// The exact decimal significand of an extended value, the ground of AmountText.
#pragma once

#include <cstdint>

namespace devical::engine {

// magnitude = significand x 10^(exponent - 18), with 10^17 <= significand < 10^18.
struct EighteenDigits {
    std::uint64_t significand = 0;
    int exponent = 0;  // the value is 0.d1d2...d18 x 10^exponent
};

// The 18-digit significand nearest to a finite positive magnitude, ties to even.
EighteenDigits NearestEighteenDigits(long double magnitude);

// The same through the C library's conversion: slower, used beyond the fast range and
// as the reference the fast path is tested against.
EighteenDigits NearestEighteenDigitsByPrintf(long double magnitude);

}  // namespace devical::engine
