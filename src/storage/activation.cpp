#include "storage/activation.h"

#include "engine/entry.h"
#include "engine/operators.h"
#include "storage/file_io.h"

namespace devical::storage {

namespace {

template <typename Write>
void Store(engine::EngineOutcome& outcome, Write write) {
    try {
        write();
    } catch (const FileError& error) {
        outcome.messages.emplace_back(error.what());
    }
}

void Evaluate(engine::ConverterState& state, const engine::ConverterContext& context, engine::EngineOutcome& outcome) {
    engine::EngineOutcome evaluation = engine::ApplyOperator(state, engine::OperatorKey::Equals, context);
    outcome.messages.insert(outcome.messages.end(), evaluation.messages.begin(), evaluation.messages.end());
    if (evaluation.clipboardText) outcome.clipboardText = std::move(evaluation.clipboardText);
}

void TakeTax(engine::ConverterState& state, engine::ConverterContext& context, const TaxSetting& tax) {
    state.TaxRate = tax.rate;
    context.taxTitle = tax.title;
    context.taxCaption = tax.title + TaxRateSuffix(tax.rate, context.decimalSeparator);
}

void TakeMemory(engine::ConverterState& state, const MemorySetting& memory) {
    engine::TakeStoredTitle(state.Memory, memory.title);
    if (!state.KeepMemoryAmounts) {
        state.Memory.National = memory.nationalAmount;
        state.Memory.Euro = memory.euroAmount;
    }
    state.KeepMemoryAmounts = false;  // kept once, for the renaming that asked
}

// A new currency: evaluate from the euro box of the same row, so that the euro amounts stay
// and the national ones follow the new rate.
void FollowNewRate(engine::ConverterState& state, const engine::ConverterContext& context, const SettingsFile& file,
                   engine::EngineOutcome& outcome) {
    const int before = state.BoxUnderEntry;
    const bool national = engine::IsNationalBox(before);
    if (national) SelectBox(state, engine::RowOf(before), 2, file, outcome);
    Evaluate(state, context, outcome);
    state.CurrencyChanged = false;
    if (national) SelectBox(state, engine::RowOf(before), 1, file, outcome);
}

}  // namespace

void SelectBox(engine::ConverterState& state, int row, int column, const SettingsFile& file,
               engine::EngineOutcome& outcome) {
    const engine::SelectOutcome selected = engine::SelectBox(state, row, column);
    if (selected.enlargedToLevel2) ChangeSizeLevel(state, 2, file, outcome);
    Store(outcome, [&] { file.WriteBoxUnderEntry(selected.boxToSave); });
}

void ChangeSizeLevel(engine::ConverterState& state, int level, const SettingsFile& file,
                     engine::EngineOutcome& outcome) {
    const auto moved = engine::ChangeSizeLevel(state, level);
    Store(outcome, [&] {
        file.WriteSizeLevel(level);
        if (moved) file.WriteBoxUnderEntry(moved->boxToSave);
    });
}

std::string TaxRateSuffix(engine::Amount rate, char decimalSeparator) {
    return " (" + engine::AmountText(rate, decimalSeparator) + " %)";
}

void TakeShownSettings(engine::ConverterState& state, engine::ConverterContext& context, const Settings& settings) {
    context.netCaption = settings.netTitle;
    context.grossCaption = settings.grossTitle;
    TakeTax(state, context, settings.tax);
    context.currencyTitle = settings.currency.title;
    state.CurrencyRate = settings.currency.rate;
    TakeMemory(state, settings.memory);
    state.Decimals = settings.decimals;
}

engine::EngineOutcome ApplySettings(engine::ConverterState& state, engine::ConverterContext& context,
                                    const Settings& settings, const SettingsFile& file) {
    // One step per setting, in this order, which is part of the behaviour: the size level
    // may move the box under entry up, the stored box may enlarge the window again, and the
    // re-evaluations work with the new rates, decimals and box.
    engine::EngineOutcome outcome;
    TakeShownSettings(state, context, settings);
    ChangeSizeLevel(state, settings.sizeLevel, file, outcome);
    const int box = settings.boxUnderEntry;
    if (box >= 1 && box <= 6) SelectBox(state, engine::RowOf(box), engine::ColumnOf(box), file, outcome);
    if (!state.Started) {
        engine::ClearAll(state);
        state.Started = true;
    }
    if (state.CurrencyChanged) FollowNewRate(state, context, file, outcome);
    if (state.TaxChanged) {
        Evaluate(state, context, outcome);
        state.TaxChanged = false;
    }
    return outcome;
}

}  // namespace devical::storage
