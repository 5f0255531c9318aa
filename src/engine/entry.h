// Choosing the box under entry and the keys that edit its text.
#pragma once

#include "engine/converter_state.h"

namespace devical::engine {

struct SelectOutcome {
    bool enlargedToLevel2 = false;  // the window grew from level 3 so the row shows
    int boxToSave = 1;              // the new box under entry, to store in the settings
};

// Makes the box of row 1..3 and column 1..2 the box under entry. With no tax only the
// net row can be chosen.
SelectOutcome SelectBox(ConverterState& state, int row, int column);

inline constexpr int kSeparatorKey = 10;

// Key 0..9 types a digit, kSeparatorKey the decimal separator.
void EnterDigit(ConverterState& state, int key, char decimalSeparator);
void Backspace(ConverterState& state);
// CE: the box under entry shows the running result again.
void CancelEntry(ConverterState& state, char decimalSeparator);
// C: all boxes to 0, the chain and the report forgotten.
void ClearAll(ConverterState& state);

// The size level's effect on the box under entry: at level 3 only the net row shows, so
// entry on the tax or gross row moves up to the net box of its column. Returns the
// selection to make, if any.
std::optional<SelectOutcome> ChangeSizeLevel(ConverterState& state, int level);

}  // namespace devical::engine
