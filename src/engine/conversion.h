// Bringing the six boxes into agreement with the box under entry: the other two boxes of
// its column from the tax rate, then the other column from the currency rate, with a
// rounding pass after each step. Each routine throws ConversionError or OverflowError and
// leaves the boxes written so far as they are.
#pragma once

#include "engine/converter_state.h"

namespace devical::engine {

void RecalculateColumn(ConverterState& state, char decimalSeparator);
void RoundingPass(ConverterState& state, char decimalSeparator);
void ConvertColumn(ConverterState& state, char decimalSeparator);
void RecalculateBoxes(ConverterState& state, char decimalSeparator);

}  // namespace devical::engine
