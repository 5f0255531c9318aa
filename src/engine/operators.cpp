#include "engine/operators.h"

#include "engine/conversion.h"
#include "engine/deviation.h"
#include "engine/entry.h"

namespace devical::engine {

namespace {

constexpr Amount kOneHundredth = 0.01L;

void CompletePendingOperation(ConverterState& state) {
    Amount& acc = state.Accumulator;
    switch (state.PendingOperator) {
    case Operation::None: break;
    case Operation::Equals: acc = state.Entry; break;  // a number typed after a result starts anew
    case Operation::Plus: acc = CheckedAdd(acc, state.Entry); break;
    case Operation::Minus: acc = CheckedSub(acc, state.Entry); break;
    case Operation::Times: acc = CheckedMul(acc, state.Entry); break;
    case Operation::Divide:
        // Division by zero gives 0, silently.
        acc = acc != 0 && state.Entry != 0 ? CheckedDiv(acc, state.Entry) : 0;
        break;
    }
}

// The operation a key leaves waiting; "%" leaves the waiting one as it was.
Operation PendingAfter(OperatorKey key, Operation pending) {
    switch (key) {
    case OperatorKey::Divide: return Operation::Divide;
    case OperatorKey::Times: return Operation::Times;
    case OperatorKey::Plus: return Operation::Plus;
    case OperatorKey::Minus: return Operation::Minus;
    case OperatorKey::Equals: return Operation::Equals;
    case OperatorKey::Percent: break;
    }
    return pending;
}

// The steps up to the clipboard text; throws where an operation fails.
std::string Evaluate(ConverterState& state, OperatorKey key, char sep) {
    state.Entry = ParseAmount(state.Box(state.BoxUnderEntry), sep);
    if (state.PendingSign == Sign::Minus) {
        // The number typed after a leading minus is the negative running result.
        state.Accumulator = -state.Entry;
        state.Entry = 0;
        state.PendingSign = Sign::None;
    }
    if (key == OperatorKey::Minus && state.Entry == 0 && state.Accumulator == 0) state.PendingSign = Sign::Minus;
    if (state.Accumulator == 0 && state.PendingOperator == Operation::None) state.Accumulator = state.Entry;

    if (key == OperatorKey::Percent) {
        const Amount percentage = CheckedMul(CheckedMul(state.Entry, kOneHundredth), state.Accumulator);
        state.Box(state.BoxUnderEntry) = AmountText(percentage, sep);
        // After "x" or "/" the percentage completes the calculation as "=" would.
        if (state.PendingOperator == Operation::Times || state.PendingOperator == Operation::Divide)
            state.PendingOperator = Operation::Equals;
    } else {
        CompletePendingOperation(state);
        state.Box(state.BoxUnderEntry) = AmountText(state.Accumulator, sep);
    }
    state.NewEntry = true;
    state.PendingOperator = PendingAfter(key, state.PendingOperator);

    RecalculateBoxes(state, sep);
    return state.Box(PartnerBox(state.BoxUnderEntry));
}

}  // namespace

EngineOutcome ApplyOperator(ConverterState& state, OperatorKey key, const ConverterContext& context) {
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

EngineOutcome ChooseDecimals(ConverterState& state, std::string decimals, const ConverterContext& context) {
    state.Decimals = std::move(decimals);
    if (state.Decimals == "x") ClearAll(state);
    return ApplyOperator(state, OperatorKey::Equals, context);
}

}  // namespace devical::engine
