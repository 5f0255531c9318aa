#include "engine/operators.h"

#include "engine/conversion.h"
#include "engine/deviation.h"

namespace devical::engine {

namespace {

constexpr Amount kOneHundredth = 0.01L;

void CompletePendingOperation(ConverterState& state) {
    const std::string& op = state.PendingOperator;
    Amount& acc = state.Accumulator;
    if (op == "=") {
        acc = state.Entry;  // a number typed after a result starts a new calculation
    } else if (op == "+") {
        acc = CheckedAdd(acc, state.Entry);
    } else if (op == "-") {
        acc = CheckedSub(acc, state.Entry);
    } else if (op == "x") {
        acc = CheckedMul(acc, state.Entry);
    } else if (op == "/") {
        // Division by zero gives 0, silently.
        acc = acc != 0 && state.Entry != 0 ? CheckedDiv(acc, state.Entry) : 0;
    }
}

// The steps up to the clipboard text; throws where an operation fails.
std::string Evaluate(ConverterState& state, std::string_view key, char sep) {
    state.Entry = ParseAmount(state.Box(state.BoxUnderEntry), sep);
    if (state.PendingSign == "-") {
        // The number typed after a leading minus is the negative running result.
        state.Accumulator = -state.Entry;
        state.Entry = 0;
        state.PendingSign.clear();
    }
    if (key == "-" && state.Entry == 0 && state.Accumulator == 0) state.PendingSign = "-";
    if (state.Accumulator == 0 && state.PendingOperator.empty()) state.Accumulator = state.Entry;

    std::string_view effectiveKey = key;
    if (key == "%") {
        const Amount percentage = CheckedMul(CheckedMul(state.Entry, kOneHundredth), state.Accumulator);
        state.Box(state.BoxUnderEntry) = AmountText(percentage, sep);
        if (state.PendingOperator == "x" || state.PendingOperator == "/") effectiveKey = "=";
    } else {
        CompletePendingOperation(state);
        state.Box(state.BoxUnderEntry) = AmountText(state.Accumulator, sep);
    }
    state.NewEntry = true;
    if (effectiveKey != "%") state.PendingOperator.assign(effectiveKey);

    RecalculateBoxes(state, sep);
    return state.Box(PartnerBox(state.BoxUnderEntry));
}

}  // namespace

EngineOutcome ApplyOperator(ConverterState& state, std::string_view key, const ConverterContext& context) {
    EngineOutcome outcome;
    try {
        outcome.clipboardText = Evaluate(state, key, context.decimalSeparator);
    } catch (const AmountError& failure) {
        outcome.messages.emplace_back(failure.what());
        return outcome;
    }
    // The report fails on its own: the evaluation above stands, the old report stays.
    try {
        state.DeviationReport = BuildDeviationReport(state, context);
    } catch (const AmountError& failure) {
        outcome.messages.emplace_back(failure.what());
    }
    return outcome;
}

}  // namespace devical::engine
