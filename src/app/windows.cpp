#include "app/windows.h"

#include "ui/common/window_placement.h"

namespace devical::app {

QString CalcServices::MessageText(std::string_view key) const {
    return QString::fromStdString(calc_.Messages().MessageText(key));
}

platform::MessageAnswer CalcServices::ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) {
    return platform::ShowMessage(parent, kind, text);
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
    QObject::connect(&Calc, &ui::TCalc::listFilesChanged, &Calc, [this] {
        rates_.FollowFile();
        taxes_.FollowFile();
        memory_.FollowFile();
    });
    QObject::connect(&Calc, &ui::TCalc::tapeRequested, &Calc, [this] { Tape().ShowTape(); });
    QObject::connect(&Calc, &ui::TCalc::aboutRequested, &Calc, [this] { ui::ShowInFront(&Info()); });
    QObject::connect(&Calc, &ui::TCalc::languageDialogRequested, &Calc,
                     [this] { ChxLangue().Open(Calc.InstalledLanguage()); });
}

ui::TQuestion& DevicalWindows::Question() {
    if (!question_) {
        question_ = std::make_unique<ui::TQuestion>(services_);
        question_->FormCreate();
    }
    return *question_;
}

ui::TChx_Langue& DevicalWindows::ChxLangue() {
    if (!chxLangue_) chxLangue_ = std::make_unique<ui::TChx_Langue>(*this);
    return *chxLangue_;
}

ui::TTape& DevicalWindows::Tape() {
    if (!tape_) {
        tape_ = std::make_unique<ui::TTape>(services_);
        tape_->FormCreate();
    }
    return *tape_;
}

bool DevicalWindows::SaveOpenWork() { return rates_.SaveIfOpen() && taxes_.SaveIfOpen() && memory_.SaveIfOpen(); }

// Each made window reads its texts (and the lists their rows) as when it was made, in the
// order they were first made at start-up; then the settings come in with the activation.
void DevicalWindows::ReloadWindows() {
    Calc.FormCreate();
    rates_.Reload();
    taxes_.Reload();
    memory_.Reload();
    if (question_) question_->FormCreate();
    if (tape_) tape_->FormCreate();
    // The new set starts with its own currency and tax: the amounts follow them as when they
    // are chosen in the lists (the euro amounts stay), rather than keep the old currency's figures.
    Calc.FollowNewSet();
    Calc.FormActivate();
}

void DevicalWindows::UpdateRatesIfDue() {
    if (Calc.TakeDailyRatesTurn()) Rates().UpdateQuietly();
}

TInfo& DevicalWindows::Info() {
    if (!info_) info_ = std::make_unique<TInfo>();
    return *info_;
}

}  // namespace devical::app
