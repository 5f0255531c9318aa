#include "engine/amount.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/builtin_texts.h"
#include "engine/decimal_digits.h"

namespace devical::engine {

ConversionError::ConversionError(const std::string& text) : AmountError(BuiltInText("NotANumber", {text})) {}

OverflowError::OverflowError() : AmountError(BuiltInText("Overflow")) {}

char ForeignSeparator(char decimalSeparator) { return decimalSeparator == '.' ? ',' : '.'; }

std::string NormaliseSeparator(std::string_view text, char decimalSeparator) {
    std::string result(text);
    const auto foreign = result.find(ForeignSeparator(decimalSeparator));
    if (foreign != std::string::npos) result[foreign] = decimalSeparator;
    return result;
}

namespace {

constexpr int kExactDigits = 19;  // every 19-digit whole number fits the 64-bit significand

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 10^n for n >= 0: exact up to 10^27 (5^27 still fits 64 bits), then rounded by squaring.
Amount PowerOfTen(int n) {
    static const auto exact = [] {
        std::array<Amount, 28> table{};
        Amount p = 1;
        for (auto& entry : table) {
            entry = p;
            p *= 10;
        }
        return table;
    }();
    if (n < static_cast<int>(exact.size())) return exact[n];
    Amount result = 1, base = 10;
    for (; n > 0; n >>= 1) {
        if (n & 1) result *= base;
        base *= base;
    }
    return result;
}

// The digits of |value| cut to 15 significant ones: value = 0.d1d2...dk x 10^exponent.
struct DecimalDigits {
    std::array<char, 16> digits{};
    int count = 0;
    int exponent = 0;
};

DecimalDigits SignificantDigits(Amount magnitude) {
    // The 18-digit significand nearest to the value (ties to even), then cut to 15 digits,
    // rounding up on a 16th digit of 5 or more: the display rounds twice, on purpose.
    const EighteenDigits nearest = NearestEighteenDigits(magnitude);
    std::uint64_t fifteen = nearest.significand / 1000;
    DecimalDigits result;
    result.exponent = nearest.exponent;
    if (nearest.significand % 1000 >= 500 && ++fifteen == 1000000000000000ULL) {  // 999... up to 1000...
        fifteen /= 10;
        ++result.exponent;
    }
    for (int i = 14; i >= 0; --i, fifteen /= 10)
        result.digits[i] = static_cast<char>('0' + fifteen % 10);
    result.count = 15;
    while (result.count > 1 && result.digits[result.count - 1] == '0')
        --result.count;
    return result;
}

bool UsesFixedNotation(const DecimalDigits& d) { return d.exponent >= -3 && d.exponent <= 15; }

bool HasFraction(const DecimalDigits& d) { return UsesFixedNotation(d) ? d.count > d.exponent : d.count > 1; }

Amount Checked(Amount result) {
    if (!std::isfinite(result)) throw OverflowError();
    return result;
}

}  // namespace

std::optional<Amount> ReadNumber(std::string_view text, char decimalSeparator) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::uint64_t mantissa = 0;
    int significant = 0;  // digits taken into the mantissa, leading zeros excluded
    int scale = 0;        // power of ten to apply to the mantissa
    bool sawBody = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        sawBody = true;
        if (significant < kExactDigits) {
            mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
            if (mantissa != 0) ++significant;
        } else {
            ++scale;  // digits beyond the exact range are dropped, their place kept
        }
    }
    if (i < n && text[i] == decimalSeparator) {
        sawBody = true;
        for (++i; i < n && IsDigit(text[i]); ++i) {
            if (significant < kExactDigits) {
                mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
                if (mantissa != 0) ++significant;
                --scale;
            }
        }
    }
    if (!sawBody) return std::nullopt;

    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        int exponent = 0;
        for (; i < n && IsDigit(text[i]); ++i) {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n) return std::nullopt;

    // One multiplication or division by an exact power of ten: the nearest extended value
    // for every text of up to 19 significant digits and 27 decimals.
    Amount value = static_cast<Amount>(mantissa);
    if (mantissa != 0 && scale != 0) {
        value = scale > 0 ? value * PowerOfTen(scale) : value / PowerOfTen(-scale);
        if (!std::isfinite(value)) return std::nullopt;
    }
    return negative ? -value : value;
}

Amount ParseAmount(std::string_view text, char decimalSeparator) {
    const std::string normalised = NormaliseSeparator(text, decimalSeparator);
    const auto value = ReadNumber(normalised, decimalSeparator);
    if (!value) throw ConversionError(std::string(text));
    return *value;
}

std::string AmountText(Amount value, char decimalSeparator) {
    if (value == 0) return "0";
    const DecimalDigits d = SignificantDigits(std::fabs(value));
    std::string text;
    if (value < 0) text += '-';
    if (UsesFixedNotation(d)) {
        if (d.exponent <= 0) {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-d.exponent), '0');
            text.append(d.digits.data(), static_cast<std::size_t>(d.count));
        } else {
            const int whole = d.exponent;
            for (int i = 0; i < whole; ++i)
                text += i < d.count ? d.digits[i] : '0';
            if (d.count > whole) {
                text += decimalSeparator;
                text.append(d.digits.data() + whole, static_cast<std::size_t>(d.count - whole));
            }
        }
    } else {
        text += d.digits[0];
        if (d.count > 1) {
            text += decimalSeparator;
            text.append(d.digits.data() + 1, static_cast<std::size_t>(d.count - 1));
        }
        text += 'E';
        text += std::to_string(d.exponent - 1);
    }
    return text;
}

std::optional<int> DecimalPlaces(std::string_view decimals) {
    if (decimals == "x") return std::nullopt;
    int places = 0;
    for (char c : decimals) {
        if (!IsDigit(c)) return std::nullopt;
        places = std::min(places * 10 + (c - '0'), 100000);
    }
    return decimals.empty() ? std::nullopt : std::optional<int>(places);
}

bool IsUsableDecimals(std::string_view decimals) {
    return decimals == "x" || (DecimalPlaces(decimals) && decimals.size() <= 2);
}

Amount RoundAmount(Amount value, std::string_view decimals) {
    const auto places = DecimalPlaces(decimals);
    if (!places) return value;
    // Whole numbers, and large numbers shown without a fraction, are left as they are.
    if (value == 0 || !HasFraction(SignificantDigits(std::fabs(value)))) return value;

    // 10^n by repeated multiplication, exact in extended precision for every useful n.
    Amount scale = 1;
    for (int i = 0; i < *places && std::isfinite(scale); ++i)
        scale *= 10;
    const Amount magnitude = std::fabs(value);
    const Amount shifted = Checked(Checked(magnitude * scale) + 0.5L);
    const Amount rounded = std::trunc(shifted) / scale;
    return value < 0 ? -rounded : rounded;
}

std::string FormatAmount(Amount value, std::string_view decimals, char decimalSeparator) {
    return AmountText(RoundAmount(value, decimals), decimalSeparator);
}

Amount CheckedAdd(Amount a, Amount b) { return Checked(a + b); }
Amount CheckedSub(Amount a, Amount b) { return Checked(a - b); }
Amount CheckedMul(Amount a, Amount b) { return Checked(a * b); }
Amount CheckedDiv(Amount a, Amount b) {
    if (b == 0) throw OverflowError();
    return Checked(a / b);
}

}  // namespace devical::engine
