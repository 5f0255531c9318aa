// Drives the engine the way the keypad does: one character per key.
//   digits and ',' type into the box under entry; + - x / % = are the operator keys;
//   C clears all, E is CE, < is backspace.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/entry.h"
#include "engine/operators.h"

namespace devical::engine::testing {

inline OperatorKey OperatorKeyOf(char key) {
    switch (key) {
    case '/': return OperatorKey::Divide;
    case 'x': return OperatorKey::Times;
    case '+': return OperatorKey::Plus;
    case '-': return OperatorKey::Minus;
    case '%': return OperatorKey::Percent;
    case '=': return OperatorKey::Equals;
    }
    throw std::invalid_argument(std::string("no key '") + key + "' on the keypad");
}

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
                Take(ApplyOperator(state, OperatorKeyOf(key), context));
            }
        }
        return *this;
    }

    // The messages and clipboard text of an outcome, as the window would show them.
    void Take(const EngineOutcome& outcome) {
        messages.insert(messages.end(), outcome.messages.begin(), outcome.messages.end());
        if (outcome.clipboardText) clipboard = *outcome.clipboardText;
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
