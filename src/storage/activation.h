// The steps that change the calculator and store the change at once, and the activation
// step that brings the settings file into the calculator. A write that fails leaves the file
// whole; its message joins the outcome's, for the window to show in order.
#pragma once

#include "engine/converter_state.h"
#include "storage/settings.h"

namespace devical::storage {

// The box of row 1..3 and column 1..2 becomes the box under entry, stored; the size level is
// stored first when the choice enlarged the window.
void SelectBox(engine::ConverterState& state, int row, int column, const SettingsFile& file,
               engine::EngineOutcome& outcome);

// The size level 1..3, stored with the box under entry that it moved up.
void ChangeSizeLevel(engine::ConverterState& state, int level, const SettingsFile& file,
                     engine::EngineOutcome& outcome);

// " (20,6 %)": the tax rate as it follows the tax title in its caption.
std::string TaxRateSuffix(engine::Amount rate, char decimalSeparator);

// The settings that the labels show (titles, tax, currency, memory, decimals) into the state
// and the context, with no file written and no box changed: the window shows them from its
// first frame, before its first activation applies the settings whole.
void TakeShownSettings(engine::ConverterState& state, engine::ConverterContext& context, const Settings& settings);

// The activation step: the settings into the state and the context (decimalSeparator set by
// the caller), then the first clear and the re-evaluations that a rate or tax change asked
// for. The outcome holds the failed writes' and evaluations' messages and the text the last
// evaluation puts on the clipboard.
engine::EngineOutcome ApplySettings(engine::ConverterState& state, engine::ConverterContext& context,
                                    const Settings& settings, const SettingsFile& file);

}  // namespace devical::storage
