// The paper tape: what the calculator prints as it is used, as an adding machine's roll
// does. Each operand with the key typed after it, each result of "=" with its converted
// amount, the clearing and memory keys, and every change of currency, tax rate or decimals.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/converter_state.h"

namespace devical::engine {

enum class TapeMark {
    // An operand, and the operator key typed after it.
    Divide,
    Times,
    Plus,
    Minus,
    Percent,
    Equals,
    Total,  // the result of "=", with the other column's amount
    Clear,
    CancelEntry,
    MemoryPlus,
    MemoryMinus,
    MemoryRecall,
    MemoryClear,
    // A setting changed; the line's amount is its new value.
    Currency,
    Tax,
    Decimals,
};

struct TapeLine {
    std::string time;  // local time, "2026-12-08 10:15:02"
    TapeMark mark = TapeMark::Total;
    std::string amount;     // as the box showed it, with the decimals in force written out
    int box = 0;            // 1..6: the line and column it was typed in; 0 for none
    std::string code;       // the currency of that column ("FRF", "EUR"); the new one for a change of currency
    std::string converted;  // the other column's amount, for a total and M+/M-; a rate's ECB day
    std::string convertedCode;

    bool operator==(const TapeLine&) const = default;
};

// After an operator key applied: its operand (the text of the box under entry when the key
// was pressed) and, for "=", the result with its converted amount.
std::vector<TapeLine> OperatorLines(std::string_view operand, OperatorKey key, const ConverterState& state,
                                    const ConverterContext& context);

// After C, CE, M+, M-, MR or MC: the key, with the amount it acted on where it has one.
TapeLine KeyLine(TapeMark mark, const ConverterState& state, const ConverterContext& context);

// What a change of which leaves a line.
struct TapeSettings {
    std::string currencyCode;
    Amount currencyRate = 1;
    std::string ratesDay;  // the central bank's day of a floating rate, if any
    Amount taxRate = 0;
    std::string decimals;
};
TapeSettings SettingsOf(const ConverterState& state, const ConverterContext& context);
std::vector<TapeLine> SettingLines(const TapeSettings& before, const TapeSettings& after, char decimalSeparator);

// A line's amount into the box under entry, as MR puts the memory's: the figure of the
// box's column (a total's converted amount when the box is in the other column). False for
// a line with no amount.
bool RecallTapeLine(ConverterState& state, const TapeLine& line, char decimalSeparator);

// The words a line is printed with, from the language in use.
struct TapeWords {
    std::string net, tax, gross;  // the line names: "HT", "Taxe", "TTC"
    std::string currency;         // "Devise : %1, 1 € = %2"
    std::string taxRate;          // "Taxe : %1 %"
    std::string decimals;         // "Décimales : %1"
    std::string ratesDay;         // " (BCE du %1)", after the currency's sentence when its rate has a day
};

// The columns of a printed line: amount, key, line, currency, converted amount, its
// currency, time. A change of setting says itself in the line's column.
inline constexpr std::size_t kTapeColumns = 7;
using TapeCells = std::array<std::string, kTapeColumns>;
TapeCells CellsOf(const TapeLine& line, const TapeWords& words);
// Where a line's name, or a setting's sentence, stands; the time comes last.
inline constexpr std::size_t kTapeLineColumn = 2;
inline constexpr std::size_t kTapeTimeColumn = kTapeColumns - 1;
// The figures, which line up on the right as on the roll.
constexpr bool IsTapeAmountColumn(std::size_t column) { return column == 0 || column == 4; }
// A change of setting: its sentence alone, in the line's column.
bool IsSettingLine(const TapeLine& line);

// A printed tape's heading: the currency's sentence with its rate (and the rate's day), then
// the tax rate's, as the settings stand.
std::vector<std::string> TapeHeading(const TapeSettings& settings, const TapeWords& words, char decimalSeparator);

// The lines for a spreadsheet: cells between tabs, a line feed after each line.
std::string TapeTable(const std::vector<TapeLine>& lines, const TapeWords& words);
// A CSV file: the titles, then the lines, between semicolons where the decimal separator is a
// comma, else between commas; a cell holding one, a quote or a line break is quoted.
std::string TapeCsv(const std::vector<TapeLine>& lines, const TapeWords& words, const TapeCells& titles,
                    char decimalSeparator);
// A text file as the roll reads: the columns lined up, amounts to the right.
std::string TapeText(const std::vector<TapeLine>& lines, const TapeWords& words);

}  // namespace devical::engine
