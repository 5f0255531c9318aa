// Drives the engine the way the keypad does: one character per key.
//   digits and ',' type into the box under entry; + - x / % = are the operator keys;
//   C clears all, E is CE, < is backspace.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/entry.h"
#include "engine/operators.h"

namespace devical::engine::testing {

class Keypad {
public:
    explicit Keypad(std::string_view rate = "1", std::string_view taxRate = "0", std::string decimals = "2",
                    char separator = ',') {
        context.decimalSeparator = separator;
        context.currencyTitle = "FRF Franc français";
        context.netCaption = "Montant HT";
        context.taxCaption = "TVA (20,6 %)";
        context.grossCaption = "Montant TTC";
        state.CurrencyRate = ParseAmount(rate, separator);
        state.TaxRate = ParseAmount(taxRate, separator);
        state.Decimals = std::move(decimals);
    }

    Keypad& Press(std::string_view keys) {
        for (char key : keys) {
            if (key >= '0' && key <= '9') {
                EnterDigit(state, key - '0', context.decimalSeparator);
            } else if (key == ',' || key == '.') {
                EnterDigit(state, kSeparatorKey, context.decimalSeparator);
            } else if (key == 'C') {
                ClearAll(state);
            } else if (key == 'E') {
                CancelEntry(state, context.decimalSeparator);
            } else if (key == '<') {
                Backspace(state);
            } else {
                EngineOutcome outcome = ApplyOperator(state, std::string(1, key), context);
                messages.insert(messages.end(), outcome.messages.begin(), outcome.messages.end());
                if (outcome.clipboardText) clipboard = *outcome.clipboardText;
            }
        }
        return *this;
    }

    Keypad& Select(int row, int column) {
        SelectBox(state, row, column);
        return *this;
    }

    // The box under entry's text, or box n's.
    std::string Shown() const { return state.Box(state.BoxUnderEntry); }
    std::string Box(int number) const { return state.Box(number); }

    ConverterState state;
    ConverterContext context;
    std::vector<std::string> messages;
    std::string clipboard;
};

}  // namespace devical::engine::testing
