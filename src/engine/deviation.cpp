#include "engine/deviation.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/currency.h"

namespace devical::engine {

namespace {

// Currencies whose amounts have no decimals: their deviation counts whole units.
bool CountsWholeUnits(const std::string& currencyTitle) {
    const std::string code = CurrencyCode(currencyTitle);
    return code == "ESP" || code == "ITL";
}

// Rounded to the nearest whole number, ties to even; it must fit a 32-bit integer.
Amount WholeDeviation(Amount deviation) {
    const Amount whole = std::nearbyint(deviation);
    if (!(whole >= std::numeric_limits<std::int32_t>::min() && whole <= std::numeric_limits<std::int32_t>::max()))
        throw OverflowError();
    return whole;
}

std::string SignedText(Amount value, char sep) { return (value > 0 ? "+" : "") + AmountText(value, sep); }

}  // namespace

std::string BuildDeviationReport(const ConverterState& state, const ConverterContext& context) {
    const char sep = context.decimalSeparator;
    const bool wholeUnits = CountsWholeUnits(context.currencyTitle);
    std::string report = context.messages.MessageText("Deviation_No");
    if (IsNationalBox(state.BoxUnderEntry)) {
        std::array<Amount, 3> deviations{};
        for (int row = 1; row <= 3; ++row) {
            const Amount euro = ParseAmount(state.Box(BoxNumber(row, 2)), sep);
            const Amount back = RoundAmount(CheckedMul(euro, state.CurrencyRate), state.Decimals);
            const Amount lost = CheckedSub(back, ParseAmount(state.Box(BoxNumber(row, 1)), sep));
            deviations[row - 1] = WholeDeviation(wholeUnits ? lost : CheckedMul(lost, 100));
        }
        if (deviations[0] != 0 || deviations[1] != 0 || deviations[2] != 0) {
            report = context.messages.MessageText("Deviation_Yes") + "\n\n";
            report += context.netCaption + " = " + SignedText(deviations[0], sep) + "\n";
            if (TaxApplies(state)) {
                report += context.taxCaption + " = " + SignedText(deviations[1], sep) + "\n";
                report += context.grossCaption + " = " + SignedText(deviations[2], sep) + "\n";
            }
        }
    }
    if (state.Decimals != "2" && !wholeUnits) report = context.messages.MessageText("Deviation_2Dec");
    return report;
}

}  // namespace devical::engine
