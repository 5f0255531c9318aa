// The rounding loss of a round trip through the euro, in hundredths (whole units for the
// currencies without decimals), measured after each evaluation.
#pragma once

#include <string>

#include "engine/converter_state.h"

namespace devical::engine {

// The report for the current boxes. Throws OverflowError or ConversionError.
std::string BuildDeviationReport(const ConverterState& state, const ConverterContext& context);

}  // namespace devical::engine
