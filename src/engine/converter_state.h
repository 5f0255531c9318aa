// The calculator's working state, its six amount boxes and what the window hands in.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/amount.h"
#include "engine/memory_register.h"
#include "engine/messages.h"

namespace devical::engine {

// Boxes are numbered (row - 1) * 2 + column: 1 Cur_HT, 2 Euro_HT, 3 Cur_Taxe, 4 Euro_Taxe,
// 5 Cur_TTC, 6 Euro_TTC. Rows: 1 net, 2 tax, 3 gross; columns: 1 national, 2 euro.
constexpr int BoxNumber(int row, int column) { return (row - 1) * 2 + column; }
constexpr int RowOf(int box) { return (box + 1) / 2; }
constexpr int ColumnOf(int box) { return box % 2 == 1 ? 1 : 2; }
constexpr bool IsNationalBox(int box) { return box % 2 == 1; }
// The box of the other column on the same row.
constexpr int PartnerBox(int box) { return IsNationalBox(box) ? box + 1 : box - 1; }

// The keys of the chain calculator: "/", "x", "+", "-", "%" and "=".
enum class OperatorKey { Divide, Times, Plus, Minus, Percent, Equals };

// The operation waiting for its right operand: "", "=", "+", "-", "x" or "/".
enum class Operation { None, Equals, Plus, Minus, Times, Divide };

// "" or "-": a minus typed before any number makes the next one negative.
enum class Sign { None, Minus };

struct ConverterState {
    int BoxUnderEntry = 1;
    Amount Accumulator = 0;
    Amount Entry = 0;
    Operation PendingOperator = Operation::None;
    Sign PendingSign = Sign::None;
    bool NewEntry = true;        // the next digit replaces the box text
    Amount CurrencyRate = 1;     // national units per euro
    Amount TaxRate = 0;          // percent
    std::string Decimals = "2";  // "0".."3" or "x"
    std::string DeviationReport;
    int SizeLevel = 1;
    bool CurrencyChanged = false;
    bool TaxChanged = false;
    std::array<std::string, 6> Boxes{"0", "0", "0", "0", "0", "0"};
    MemoryRegister Memory;
    bool Started = false;            // the first activation has cleared the boxes
    bool KeepMemoryAmounts = false;  // a renaming: the next activation keeps the amounts shown

    std::string& Box(int number) { return Boxes[static_cast<std::size_t>(number - 1)]; }
    const std::string& Box(int number) const { return Boxes[static_cast<std::size_t>(number - 1)]; }
};

// A tax applies when its rate is above zero: only then are the tax and gross lines
// reported and copied. A rate of zero clears them; a negative one, which only a hand-edited
// settings file can hold, leaves them as they stood (RecalculateColumn), so they are not
// worth copying either.
inline bool TaxApplies(const ConverterState& state) { return state.TaxRate > 0; }

// What the engine needs beside the state: the separator in force, the current currency's
// title ("FRF Franc français": its code, a blank, its name), the three line captions (the
// tax one with its rate) and the message catalogue. The activation step fills it from the
// settings file; the window never reads it back from its labels.
struct ConverterContext {
    char decimalSeparator = ',';
    std::string currencyTitle;
    std::string netCaption;
    std::string taxTitle;
    std::string taxCaption;
    std::string grossCaption;
    // The central bank's day of a floating currency's rate ("2026-12-04"); empty for a fixed one.
    std::string floatingRateDay;
    MessageCatalogue messages;
};

// What the window must do after an evaluation: show the messages in OK boxes, in order,
// and put the text on the clipboard.
struct EngineOutcome {
    std::vector<std::string> messages;
    std::optional<std::string> clipboardText;
};

}  // namespace devical::engine
