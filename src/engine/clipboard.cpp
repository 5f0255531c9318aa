#include "engine/clipboard.h"

#include "engine/operators.h"

namespace devical::engine {

std::string CopyTable(const ConverterState& state) {
    std::string table;
    const int lines = TaxApplies(state) ? 3 : 1;
    for (int row = 1; row <= lines; ++row)
        table += state.Box(BoxNumber(row, 1)) + '\t' + state.Box(BoxNumber(row, 2)) + "\r\n";
    return table;
}

std::optional<std::string> PastedAmount(std::string_view pasted, char decimalSeparator) {
    const std::string_view firstLine = pasted.substr(0, pasted.find_first_of("\r\n"));
    const auto amount = ReadNumber(NormaliseSeparator(firstLine, decimalSeparator), decimalSeparator);
    if (!amount) return std::nullopt;
    return AmountText(*amount, decimalSeparator);
}

std::optional<EngineOutcome> PasteAmount(ConverterState& state, std::string_view pasted,
                                         const ConverterContext& context) {
    auto amount = PastedAmount(pasted, context.decimalSeparator);
    if (!amount) return std::nullopt;
    state.Box(state.BoxUnderEntry) = std::move(*amount);
    EngineOutcome outcome = ApplyOperator(state, OperatorKey::Equals, context);
    outcome.messages.clear();
    return outcome;
}

}  // namespace devical::engine
