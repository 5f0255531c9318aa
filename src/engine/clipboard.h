// What the calculator puts on the clipboard and takes from it. The window only moves the
// text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/converter_state.h"

namespace devical::engine {

// The amount lines as a table for a spreadsheet: national TAB euro CR LF, one line per row;
// the tax and gross lines only when a tax applies.
std::string CopyTable(const ConverterState& state);

// The amount a pasted text puts into the box: its first line, read with either separator and
// written as the box shows numbers; nothing for a text that is no number.
std::optional<std::string> PastedAmount(std::string_view pasted, char decimalSeparator);

// The first line of a pasted text, read with either separator, into the box under entry,
// then "=". Nothing happens for a text that is no number, and nothing is said, nor for an
// evaluation that fails: the outcome carries no messages, only the clipboard text.
std::optional<EngineOutcome> PasteAmount(ConverterState& state, std::string_view pasted,
                                         const ConverterContext& context);

}  // namespace devical::engine
