#include "engine/entry.h"

namespace devical::engine {

SelectOutcome SelectBox(ConverterState& state, int row, int column) {
    SelectOutcome outcome;
    if (state.SizeLevel == 3 && row > 1) {
        state.SizeLevel = 2;
        outcome.enlargedToLevel2 = true;
    }
    // Any rate but zero gives the tax and gross rows: a negative one too, though it computes
    // nothing there (see TaxApplies).
    state.BoxUnderEntry = state.TaxRate != 0 ? BoxNumber(row, column) : column;
    outcome.boxToSave = state.BoxUnderEntry;
    return outcome;
}

std::optional<SelectOutcome> ChangeSizeLevel(ConverterState& state, int level) {
    state.SizeLevel = level;
    if (level != 3 || RowOf(state.BoxUnderEntry) == 1) return std::nullopt;
    return SelectBox(state, 1, ColumnOf(state.BoxUnderEntry));
}

void EnterDigit(ConverterState& state, int key, char decimalSeparator) {
    std::string& text = state.Box(state.BoxUnderEntry);
    if (state.NewEntry) {
        text = '0';
        if (key == kSeparatorKey)
            text += decimalSeparator;
        else
            text.back() = static_cast<char>('0' + key);
        state.NewEntry = false;
    } else if (key == kSeparatorKey) {
        if (text.find(decimalSeparator) == std::string::npos) text += decimalSeparator;
    } else {
        text += static_cast<char>('0' + key);
    }
}

void Backspace(ConverterState& state) {
    std::string& text = state.Box(state.BoxUnderEntry);
    // Remove one whole character, also where a recalled label left a multi-byte one.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty()) text.pop_back();
    if (text.empty()) text.assign(1, '0');
}

void CancelEntry(ConverterState& state, char decimalSeparator) {
    state.Box(state.BoxUnderEntry) = AmountText(state.Accumulator, decimalSeparator);
    state.NewEntry = true;
}

void ClearAll(ConverterState& state) {
    state.Boxes.fill("0");
    state.DeviationReport.clear();
    state.Accumulator = 0;
    state.Entry = 0;
    state.PendingOperator = Operation::None;
    state.PendingSign = Sign::None;
    state.NewEntry = true;
}

}  // namespace devical::engine
