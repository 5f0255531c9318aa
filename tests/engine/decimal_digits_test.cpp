// The fast exact decimal conversion must agree with the C library's on every value.
#include "engine/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace devical::engine {
namespace {

void ExpectSameDigits(long double value) {
    const EighteenDigits fast = NearestEighteenDigits(value);
    const EighteenDigits reference = NearestEighteenDigitsByPrintf(value);
    EXPECT_EQ(fast.significand, reference.significand) << static_cast<double>(value);
    EXPECT_EQ(fast.exponent, reference.exponent) << static_cast<double>(value);
}

TEST(NearestEighteenDigits, AgreesWithTheLibraryAcrossTheRange) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int> exponents(-70, 70);
    std::uniform_int_distribution<std::uint64_t> significands;
    for (int i = 0; i < 200000; ++i) {
        const auto m = significands(random) | (1ULL << 63);
        ExpectSameDigits(std::ldexp(static_cast<long double>(m), exponents(random) - 64));
        if (HasFailure()) return;
    }
}

TEST(NearestEighteenDigits, AgreesOnTiesAmountsAndExtremes) {
    for (long double value : {1000000000000000005.0L,
                              1000000000000000015.0L,
                              9999999999999999995.0L,
                              0.5L,
                              1.0L,
                              100.0L,
                              0.01L,
                              0.1L,
                              1.005L,
                              6.55957L,
                              15.24L,
                              120.63L,
                              1e-4L,
                              1e15L,
                              1e18L,
                              1e19L,
                              1e38L,
                              1e39L,
                              1e-30L,
                              1e300L,
                              1e-4900L,
                              1e4931L,
                              3.0L,
                              1.0L / 3.0L,
                              2.0L / 3.0L}) {
        ExpectSameDigits(value);
    }
}

}  // namespace
}  // namespace devical::engine
