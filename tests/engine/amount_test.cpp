#include "engine/amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace devical::engine {
namespace {

TEST(NormaliseSeparator, ReplacesOnlyTheFirstForeignSeparator) {
    EXPECT_EQ(NormaliseSeparator("12.5", ','), "12,5");
    EXPECT_EQ(NormaliseSeparator("12,5", ','), "12,5");
    EXPECT_EQ(NormaliseSeparator("1.2.3", ','), "1,2.3");
    EXPECT_EQ(NormaliseSeparator("3,75", '.'), "3.75");
}

TEST(ParseAmount, ReadsNumbersAsTheConverterWritesAndTypesThem) {
    struct Row {
        const char* text;
        long double value;
    };
    const Row rows[] = {
        {"0", 0},        {"0,", 0},         {"  42  ", 42}, {",", 0},        {"-,", 0},      {"05", 5},
        {"12.5", 12.5L}, {"-3,25", -3.25L}, {"+7", 7},      {"1,5E", 1.5L},  {"1,5e2", 150}, {"2E-3", 0.002L},
        {"000", 0},      {"1,005", 1.005L}, {"0,1", 0.1L},  {"1E27", 1e27L},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseAmount(row.text, ','), row.value);
    }
}

TEST(ParseAmount, TakesTheNearestExtendedValueOfLongInputs) {
    // 19 significant digits and up to 27 decimals are read exactly, then rounded once.
    EXPECT_EQ(ParseAmount("0,1234567890123456789", ','), 0.1234567890123456789L);
    EXPECT_EQ(ParseAmount("1234567890123456789", ','), 1234567890123456789.0L);
    EXPECT_EQ(ParseAmount("0,000000000000000000000000001", ','), 1e-27L);
}

TEST(ParseAmount, RefusesTextsThatAreNotNumbers) {
    for (const char* text :
         {"", "-", "+", " ", "abc", "1,2,3", "1.234.5", "12a", "1E5x", "E5", "inf", "nan", "1E4933", "1 2"}) {
        SCOPED_TRACE(text);
        try {
            ParseAmount(text, ',');
            ADD_FAILURE() << "read as a number";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' n'est pas une valeur flottante correcte");
        }
    }
}

TEST(AmountText, WritesFifteenSignificantDigitsInGeneralFormat) {
    struct Row {
        long double value;
        const char* text;
    };
    const Row rows[] = {
        {0, "0"},
        {-0.0L, "0"},
        {1234.5L, "1234,5"},
        {0.0001L, "0,0001"},
        {0.00005L, "5E-5"},
        {1e15L, "1E15"},
        {999999999999999.0L, "999999999999999"},
        {1234567890123456.0L, "1,23456789012346E15"},
        {-0.5L, "-0,5"},
        {1.0L / 3, "0,333333333333333"},
        {0.1L + 0.2L, "0,3"},
        {12.5L, "12,5"},
        {100, "100"},
        {1e300L, "1E300"},
        {-1.5e-300L, "-1,5E-300"},
        {9.9999999999999999L, "10"},
        {0.99999999999999999L, "1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(AmountText(row.value, ','), row.text);
    }
    EXPECT_EQ(AmountText(1234.5L, '.'), "1234.5");
}

TEST(AmountText, RoundTripsThroughParseAmountAtFifteenDigits) {
    for (const char* text : {"15,24", "3,14", "18,39", "655,96", "0,001", "123456789012345", "1,5E20", "-2,5E-7"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(AmountText(ParseAmount(text, ','), ','), text);
    }
}

// Rounding acts on the extended value read from the text, not on its decimal digits.
TEST(FormatAmount, RoundsHalfAwayFromZeroOnTheExtendedValue) {
    struct Row {
        const char* decimals;
        const char* typed;
        const char* shown;
    };
    const Row rows[] = {
        {"2", "1,005", "1,01"},
        {"2", "0,145", "0,15"},
        {"2", "1,045", "1,04"},
        {"2", "0,265", "0,26"},
        {"2", "2,675", "2,68"},
        {"2", "0,125", "0,13"},
        {"2", "1,0049999", "1"},
        {"2", "12,50", "12,5"},
        {"2", "7,00", "7"},
        {"2", "-1,005", "-1,01"},
        {"0", "2,5", "3"},
        {"0", "-2,5", "-3"},
        {"0", "1,5", "2"},
        {"3", "0,0005", "0,001"},
        {"1", "0,05", "0,1"},
        {"2", "1,5E20", "1,5E20"},
        {"2", "123456789012345678", "1,23456789012346E17"},
        {"x", "0,333333333333333333", "0,333333333333333"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.decimals) + " " + row.typed);
        EXPECT_EQ(FormatAmount(ParseAmount(row.typed, ','), row.decimals, ','), row.shown);
    }
}

TEST(RoundAmount, ReportsOverflowOfTheScaling) {
    EXPECT_THROW(RoundAmount(1.5e4930L, "3"), OverflowError);
    EXPECT_THROW(RoundAmount(0.5L, "5000"), OverflowError);
    EXPECT_EQ(RoundAmount(1e4930L, "3"), 1e4930L);  // no fraction: left alone
}

TEST(IsUsableDecimals, AcceptsNoRoundingOrOneOrTwoDigits) {
    for (const char* usable : {"x", "0", "3", "12"})
        EXPECT_TRUE(IsUsableDecimals(usable)) << usable;
    for (const char* unusable : {"", "X", "123", "-1", "2,5", " 2", "deux"})
        EXPECT_FALSE(IsUsableDecimals(unusable)) << unusable;
}

TEST(DecimalPlaces, ReadsTheSetting) {
    EXPECT_EQ(DecimalPlaces("x"), std::nullopt);
    EXPECT_EQ(DecimalPlaces("0"), 0);
    EXPECT_EQ(DecimalPlaces("3"), 3);
    EXPECT_EQ(DecimalPlaces(""), std::nullopt);
    EXPECT_EQ(DecimalPlaces("-1"), std::nullopt);
}

TEST(CheckedArithmetic, TurnsInfinitiesAndNaNsIntoOverflow) {
    const long double big = std::numeric_limits<long double>::max();
    EXPECT_THROW(CheckedMul(big, 2), OverflowError);
    EXPECT_THROW(CheckedAdd(big, big), OverflowError);
    EXPECT_THROW(CheckedSub(-big, big), OverflowError);
    EXPECT_THROW(CheckedDiv(1, 0), OverflowError);
    EXPECT_THROW(CheckedDiv(0, 0), OverflowError);
    EXPECT_EQ(CheckedDiv(1, 4), 0.25L);
}

}  // namespace
}  // namespace devical::engine
