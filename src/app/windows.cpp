#include "app/windows.h"

namespace devical::app {

namespace {
void ShowAndActivate(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}
}  // namespace

DevicalWindows::DevicalWindows(const QString& programDirectory)
    : Calc(programDirectory),
      Question(Calc),
      Rates(Calc),
      SRates(Calc, Rates),
      Taxes(Calc),
      STaxes(Calc, Taxes),
      Memory(Calc),
      SMemory(Calc, Memory) {
    Question.FormCreate();
    for (auto [list, dialog] : {std::pair<ui::ListWindow*, ui::EntryDialog*>{&Rates, &SRates},
                                {&Taxes, &STaxes},
                                {&Memory, &SMemory}}) {
        list->FormCreate();
        dialog->FormCreate();
        list->SetEntryDialog(dialog);
    }

    QObject::connect(&Calc, &ui::TCalc::rateListRequested, &Rates, &ui::ListWindow::ShowList);
    QObject::connect(&Calc, &ui::TCalc::taxListRequested, &Taxes, &ui::ListWindow::ShowList);
    QObject::connect(&Calc, &ui::TCalc::memoryListRequested, &Memory,
                     [this](const QString& title, const QString& national, const QString& euro) {
                         Memory.SetCurrentMemory(title, national, euro);
                         Memory.ShowList();
                     });
    QObject::connect(&Calc, &ui::TCalc::titleEditRequested, &Question, &ui::TQuestion::Ask);
    QObject::connect(&Calc, &ui::TCalc::aboutRequested, &Calc, [this] {
        if (!Info) Info = std::make_unique<TInfo>();
        ShowAndActivate(Info.get());
    });
}

}  // namespace devical::app
