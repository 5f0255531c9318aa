#include "engine/decimal_digits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace devical::engine {

namespace {

using U128 = unsigned __int128;

constexpr std::uint64_t kLowest18 = 100000000000000000ULL;  // 10^17
constexpr std::uint64_t kAbove18 = 1000000000000000000ULL;  // 10^18

int BitLength(U128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto low = static_cast<std::uint64_t>(v);
    if (high != 0) return 128 - __builtin_clzll(high);
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

struct PowersOfTen {
    U128 value[39];
    int bits[39];
};

const PowersOfTen& Powers() {
    static const PowersOfTen powers = [] {
        PowersOfTen table{};
        U128 p = 1;
        for (int n = 0; n < 39; ++n, p *= 10) {
            table.value[n] = p;
            table.bits[n] = BitLength(p);
        }
        return table;
    }();
    return powers;
}

// floor(m x 2^e x 10^p) with the remainder's comparison to one half, when everything fits
// 128 bits; false otherwise.
bool ScaledQuotient(std::uint64_t m, int e, int p, std::uint64_t& quotient, int& halfComparison) {
    if (p > 38 || p < -38) return false;
    const PowersOfTen& powers = Powers();
    const int powerBits = powers.bits[p >= 0 ? p : -p];
    U128 numerator = m;
    U128 denominator = 1;
    if (e >= 0) {
        if (64 + e + (p > 0 ? powerBits : 0) > 127) return false;
        numerator <<= e;
    } else {
        if (-e + (p < 0 ? powerBits : 0) > 126) return false;
        denominator <<= -e;
    }
    if (p > 0) {
        if (BitLength(numerator) + powerBits > 127) return false;
        numerator *= powers.value[p];
    } else if (p < 0) {
        denominator *= powers.value[-p];
    }
    // A power-of-two denominator needs no division.
    const bool powerOfTwo = (denominator & (denominator - 1)) == 0;
    const U128 q = powerOfTwo ? numerator >> (BitLength(denominator) - 1) : numerator / denominator;
    if (q >= (U128(1) << 64)) return false;
    const U128 remainder = powerOfTwo ? numerator & (denominator - 1) : numerator % denominator;
    const U128 twiceRemainder = remainder * 2;
    quotient = static_cast<std::uint64_t>(q);
    halfComparison = twiceRemainder < denominator ? -1 : twiceRemainder > denominator ? 1 : 0;
    return true;
}

}  // namespace

EighteenDigits NearestEighteenDigitsByPrintf(long double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);  // d.ddddddddddddddddde+XX
    EighteenDigits result;
    result.significand = static_cast<std::uint64_t>(buffer[0] - '0');
    for (int i = 2; i < 19; ++i)
        result.significand = result.significand * 10 + static_cast<std::uint64_t>(buffer[i] - '0');
    result.exponent = std::atoi(buffer + 20) + 1;
    return result;
}

namespace {

// The 64-bit significand of a value in [0.5, 1): its explicit integer bit is set, so the
// stored significand field is the value times 2^64. Read from memory rather than converted:
// an x87 conversion to an integer goes through a store and a reload whose cost depends on
// where the stack happens to lie, and doubled the time of a whole evaluation.
std::uint64_t SignificandOf(long double fraction) {
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision");
    std::uint64_t significand = 0;
    std::memcpy(&significand, &fraction, sizeof significand);
    return significand;
}

// floor(x log10(2)) in integer arithmetic, exact for |x| up to 17,000 and more.
int FloorLog10OfPowerOfTwo(int x) { return static_cast<int>((static_cast<std::int64_t>(x) * 1292913986) >> 32); }

}  // namespace

EighteenDigits NearestEighteenDigits(long double magnitude) {
    int binaryExponent = 0;
    const long double fraction = std::frexp(magnitude, &binaryExponent);  // magnitude = fraction x 2^exp
    const std::uint64_t m = SignificandOf(fraction);
    const int e = binaryExponent - 64;

    // magnitude lies in [2^(exp-1), 2^exp): its decimal exponent is this estimate or one more.
    int exponent = FloorLog10OfPowerOfTwo(binaryExponent - 1) + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint64_t q = 0;
        int half = 0;
        if (!ScaledQuotient(m, e, 18 - exponent, q, half)) break;
        if (q >= kAbove18) {
            ++exponent;
            continue;
        }
        if (q < kLowest18) {
            --exponent;
            continue;
        }
        if (half > 0 || (half == 0 && q % 2 == 1)) ++q;
        if (q == kAbove18) {
            q = kLowest18;
            ++exponent;
        }
        return {q, exponent};
    }
    return NearestEighteenDigitsByPrintf(magnitude);
}

}  // namespace devical::engine
