// The calculator's working state, its six amount boxes and what the window hands in.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/amount.h"
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

struct ConverterState {
    int BoxUnderEntry = 1;
    Amount Accumulator = 0;
    Amount Entry = 0;
    std::string PendingOperator;  // "", "=", "+", "-", "x" or "/"
    std::string PendingSign;      // "" or "-" after a minus typed before any number
    bool NewEntry = true;         // the next digit replaces the box text
    Amount CurrencyRate = 1;      // national units per euro
    Amount TaxRate = 0;           // percent
    std::string Decimals = "2";   // "0".."3" or "x"
    std::string DeviationReport;
    int SizeLevel = 1;
    bool CurrencyChanged = false;
    bool TaxChanged = false;
    std::array<std::string, 6> Boxes{"0", "0", "0", "0", "0", "0"};

    std::string& Box(int number) { return Boxes[static_cast<std::size_t>(number - 1)]; }
    const std::string& Box(int number) const { return Boxes[static_cast<std::size_t>(number - 1)]; }
};

// What the window knows and the engine needs: the separator in force, the current
// currency's title, the three line captions and the message catalogue.
struct ConverterContext {
    char decimalSeparator = ',';
    std::string currencyTitle;
    std::string netCaption;
    std::string taxCaption;
    std::string grossCaption;
    MessageCatalogue messages;
};

// What the window must do after an evaluation: show the messages in OK boxes, in order,
// and put the text on the clipboard.
struct EngineOutcome {
    std::vector<std::string> messages;
    std::optional<std::string> clipboardText;
};

}  // namespace devical::engine
