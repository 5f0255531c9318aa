#include "engine/conversion.h"

namespace devical::engine {

namespace {
constexpr Amount kOneHundredth = 0.01L;  // the extended value nearest to 1/100
}

void RecalculateColumn(ConverterState& state, char sep) {
    const Amount t = state.TaxRate;
    // A negative rate has no meaning: the column stays as it stood (and TaxApplies is false).
    if (t < 0) return;
    const int column = ColumnOf(state.BoxUnderEntry);
    std::string& net = state.Box(BoxNumber(1, column));
    std::string& tax = state.Box(BoxNumber(2, column));
    std::string& gross = state.Box(BoxNumber(3, column));
    if (t == 0) {  // no tax: nothing on the tax and gross lines
        tax = "0";
        gross = "0";
        return;
    }
    // The products are formed in this order, at extended precision; values unrounded.
    const Amount a = state.Accumulator;
    switch (RowOf(state.BoxUnderEntry)) {
    case 1:
        tax = AmountText(CheckedMul(t * kOneHundredth, a), sep);
        gross = AmountText(CheckedMul(CheckedAdd(t * kOneHundredth, 1), a), sep);
        break;
    case 2:
        gross = AmountText(CheckedDiv(CheckedMul(CheckedAdd(t, 100), a), t), sep);
        net = AmountText(CheckedSub(ParseAmount(gross, sep), ParseAmount(tax, sep)), sep);
        break;
    default:
        net = AmountText(CheckedDiv(a, CheckedAdd(t * kOneHundredth, 1)), sep);
        tax = AmountText(CheckedDiv(CheckedMul(t * kOneHundredth, a), CheckedAdd(t * kOneHundredth, 1)), sep);
        break;
    }
}

void RoundingPass(ConverterState& state, char sep) {
    for (std::string& box : state.Boxes)
        box = FormatAmount(ParseAmount(box, sep), state.Decimals, sep);
}

void ConvertColumn(ConverterState& state, char sep) {
    const Amount rate = state.CurrencyRate;
    const bool fromNational = IsNationalBox(state.BoxUnderEntry);
    for (int row = 1; row <= 3; ++row) {
        const Amount source = ParseAmount(state.Box(BoxNumber(row, fromNational ? 1 : 2)), sep);
        state.Box(BoxNumber(row, fromNational ? 2 : 1)) =
            AmountText(fromNational ? CheckedDiv(source, rate) : CheckedMul(source, rate), sep);
    }
}

void RecalculateBoxes(ConverterState& state, char sep) {
    RecalculateColumn(state, sep);
    RoundingPass(state, sep);
    ConvertColumn(state, sep);
    RoundingPass(state, sep);
}

}  // namespace devical::engine
