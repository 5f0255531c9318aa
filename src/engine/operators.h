// The chain calculator behind "/", "x", "+", "-", "%" and "=": strictly left to right,
// one accumulator and one pending operator.
#pragma once

#include <string>

#include "engine/converter_state.h"

namespace devical::engine {

// Completes the pending operation with the box under entry as right operand, recalculates
// and rounds all six boxes, hands back the converted amount for the clipboard and rebuilds
// the deviation report. A failure stops where it happens and comes back as a message.
EngineOutcome ApplyOperator(ConverterState& state, OperatorKey key, const ConverterContext& context);

// A decimals setting chosen: "x" clears all boxes first, then "=" rounds them anew.
EngineOutcome ChooseDecimals(ConverterState& state, std::string decimals, const ConverterContext& context);

}  // namespace devical::engine
