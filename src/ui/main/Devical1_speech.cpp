// What the main window says to a listening screen reader after an action: each change once, in
// words, and nothing that did not change.
#include <QAccessible>

#include "engine/builtin_texts.h"
#include "engine/currency.h"
#include "ui/common/accessibility.h"
#include "ui/common/qt_text.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

void TCalc::Say(const QString& text) {
    conversionUnsaid_ = false;
    Announce(this, text);
}

void TCalc::SpeakConversion() {
    if (!conversionUnsaid_) return;  // "x" or a second "=" leave the amounts as they were said
    FittedLabel* box = boxes_[static_cast<std::size_t>(engine::PartnerBox(State().BoxUnderEntry) - 1)];
    Say(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name));
}

void TCalc::SpeakMemory() { Say(MemorySpeech()); }

QString TCalc::LineSpeech(int row) const {
    const engine::ConverterContext& context = session_.Context();
    const QString titles[] = {Text(context.netCaption), Text(context.taxTitle), Text(context.grossCaption)};
    const engine::ConverterState& state = State();
    const auto amount = [&state](int box) { return Text(state.Boxes[static_cast<std::size_t>(box - 1)]); };
    return titles[row - 1] + QLatin1Char(' ') + amount(2 * row - 1) + QLatin1Char(' ') +
           Text(engine::CurrencyCode(context.currencyTitle)) + QStringLiteral(", ") + amount(2 * row) +
           QLatin1Char(' ') + Lib_Euro->text();
}

QString TCalc::MemorySpeech() const {
    const engine::MemoryRegister& memory = State().Memory;
    const auto zero = [](const std::string& amount) { return amount.empty() || amount == "0"; };
    if (memory.Title.empty() && zero(memory.National) && zero(memory.Euro))
        return Text(engine::BuiltInText("MemoryEmpty"));
    QString said = Text(memory.Title);
    if (!said.isEmpty()) said += QStringLiteral(", ");
    return said + Text(memory.National) + QLatin1Char(' ') + Text(memory.Code) + QStringLiteral(", ") +
           Text(memory.Euro) + QLatin1Char(' ') + Lib_Euro->text();
}

QString TCalc::ChoiceSpeech(const storage::RowChoice& choice) const {
    if (std::holds_alternative<storage::CurrencyChoice>(choice))
        return CurrencyTitle() + QStringLiteral(", ") + RateText() + QStringLiteral("; ") +
               LineSpeech(engine::RowOf(State().BoxUnderEntry));
    if (std::holds_alternative<storage::TaxChoice>(choice))
        return Text(session_.Context().taxCaption) + QStringLiteral("; ") + LineSpeech(3);
    return MemorySpeech();
}

}  // namespace devical::ui
