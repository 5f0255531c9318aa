#include "app/windows.h"

#include "ui/main/window_placement.h"

namespace devical::app {

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
        question_ = std::make_unique<ui::TQuestion>(Calc);
        question_->FormCreate();
    }
    return *question_;
}

TInfo& DevicalWindows::Info() {
    if (!info_) info_ = std::make_unique<TInfo>();
    return *info_;
}

}  // namespace devical::app
