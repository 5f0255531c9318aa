// The cost of what a key press computes.
#include <benchmark/benchmark.h>

#include "engine/entry.h"
#include "engine/operators.h"

namespace {

using namespace devical::engine;

ConverterContext FrenchContext() {
    ConverterContext context;
    context.decimalSeparator = ',';
    context.currencyTitle = "FRF Franc français";
    context.netCaption = "Montant HT";
    context.taxCaption = "TVA (20,6 %)";
    context.grossCaption = "Montant TTC";
    return context;
}

OperatorKey OperatorKeyOf(char key) {
    switch (key) {
    case '+': return OperatorKey::Plus;
    case 'x': return OperatorKey::Times;
    case '-': return OperatorKey::Minus;
    case '/': return OperatorKey::Divide;
    default: return OperatorKey::Equals;
    }
}

ConverterState FrancsWithVat() {
    ConverterState state;
    state.CurrencyRate = ParseAmount("6,55957", ',');
    state.TaxRate = ParseAmount("20,6", ',');
    return state;
}

// 100 in Cur_HT, then "=": six boxes, two rounding passes, the clipboard text, the report.
void Evaluation(benchmark::State& run) {
    const ConverterContext context = FrenchContext();
    ConverterState state = FrancsWithVat();
    for (auto _ : run) {
        ClearAll(state);
        state.Box(1) = "100";
        EngineOutcome outcome = ApplyOperator(state, OperatorKey::Equals, context);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(Evaluation);

// "12,5+7x3-1/4=": twenty keys, digits and operators alike.
void TwentyKeyChain(benchmark::State& run) {
    const ConverterContext context = FrenchContext();
    ConverterState state = FrancsWithVat();
    const std::string keys = "12,5+7x3-1/4=1000+2=";
    for (auto _ : run) {
        ClearAll(state);
        for (char key : keys) {
            if (key >= '0' && key <= '9')
                EnterDigit(state, key - '0', ',');
            else if (key == ',')
                EnterDigit(state, kSeparatorKey, ',');
            else
                benchmark::DoNotOptimize(ApplyOperator(state, OperatorKeyOf(key), context));
        }
    }
}
BENCHMARK(TwentyKeyChain);

}  // namespace
