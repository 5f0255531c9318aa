#include "app/windows.h"

#include "ui/main/window_placement.h"

namespace devical::app {

QString CalcServices::MessageText(std::string_view key) const {
    return QString::fromStdString(calc_.Messages().MessageText(key));
}

platform::MessageAnswer CalcServices::ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) {
    return platform::ShowMessage(parent, kind, text);
}

// The new rate goes into the calculator with a flag, so that the main window's next
// activation re-evaluates the amounts with it.
void CalcServices::Chosen(const storage::RowChoice& choice) {
    engine::ConverterState& state = calc_.State();
    if (const auto* currency = std::get_if<storage::CurrencyChoice>(&choice)) {
        state.CurrencyRate = currency->rate;
        state.CurrencyChanged = true;
    } else if (const auto* tax = std::get_if<storage::TaxChoice>(&choice)) {
        state.TaxRate = tax->rate;
        state.TaxChanged = true;
    }
}

DevicalWindows::DevicalWindows(const QString& programDirectory) : Calc(programDirectory) {
    QObject::connect(&Calc, &ui::TCalc::rateListRequested, &Calc, [this] { Rates().ShowList(); });
    QObject::connect(&Calc, &ui::TCalc::taxListRequested, &Calc, [this] { Taxes().ShowList(); });
    QObject::connect(&Calc, &ui::TCalc::memoryListRequested, &Calc,
                     [this](const QString& title, const QString& national, const QString& euro) {
                         Memory().SetCurrentMemory(title, national, euro);
                         Memory().ShowList();
                     });
    QObject::connect(&Calc, &ui::TCalc::titleEditRequested, &Calc,
                     [this](storage::TitleTarget target, const QString& title) { Question().Ask(target, title); });
    QObject::connect(&Calc, &ui::TCalc::aboutRequested, &Calc, [this] { ui::ShowInFront(&Info()); });
}

ui::TQuestion& DevicalWindows::Question() {
    if (!question_) {
        question_ = std::make_unique<ui::TQuestion>(services_);
        question_->FormCreate();
    }
    return *question_;
}

TInfo& DevicalWindows::Info() {
    if (!info_) info_ = std::make_unique<TInfo>();
    return *info_;
}

}  // namespace devical::app
