// Amounts: the number form (80-bit extended) and the text form shown in the boxes,
// lists and labels, with the conversions between them and the rounding to the
// decimals setting.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace devical::engine {

// x87 extended precision: 64-bit significand, round-to-nearest-even.
using Amount = long double;

// A failure of the amount routines; what() is the user-facing message.
class AmountError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not read as a number.
class ConversionError : public AmountError {
public:
    explicit ConversionError(const std::string& text);
};

// Invalid operation, division by zero or overflow in the extended arithmetic.
class OverflowError : public AmountError {
public:
    OverflowError();
};

// The other one of ',' and '.'.
char ForeignSeparator(char decimalSeparator);

// Replaces the first foreign separator by the decimal separator.
std::string NormaliseSeparator(std::string_view text, char decimalSeparator);

// The plain number reading: no separator normalisation. Empty when the text is not a number
// or lies beyond the extended range.
std::optional<Amount> ReadNumber(std::string_view text, char decimalSeparator);

// NormaliseSeparator then ReadNumber; throws ConversionError naming the text as given.
Amount ParseAmount(std::string_view text, char decimalSeparator);

// General format with 15 significant digits: 1234,5  0,0001  5E-5  1,23456789012346E15.
std::string AmountText(Amount value, char decimalSeparator);

// Number of decimals of a decimals setting: empty for "x" (no rounding) and for a setting
// that is neither "x" nor a whole number, which has no meaning.
std::optional<int> DecimalPlaces(std::string_view decimals);

// Whether a stored decimals setting can serve: "x", or a whole number of at most two digits
// (beyond, every rounding would overflow).
bool IsUsableDecimals(std::string_view decimals);

// Half away from zero at the setting's decimals, computed on the extended value.
// Throws OverflowError when the scaling leaves the extended range.
Amount RoundAmount(Amount value, std::string_view decimals);

// AmountText of RoundAmount.
std::string FormatAmount(Amount value, std::string_view decimals, char decimalSeparator);

// Arithmetic that throws OverflowError instead of producing an infinity or a NaN.
Amount CheckedAdd(Amount a, Amount b);
Amount CheckedSub(Amount a, Amount b);
Amount CheckedMul(Amount a, Amount b);
Amount CheckedDiv(Amount a, Amount b);

}  // namespace devical::engine
