// Every window of the program, wired to the main window. The main window is made at once;
// the others, each with its creation step, when first needed, so that Devical opens as
// fast and as small as a bare window.
#pragma once

#include <QString>
#include <memory>

#include "ui/about/Info1.h"
#include "ui/language/Chx_Langue1.h"
#include "ui/lists/Memory1.h"
#include "ui/lists/Rates1.h"
#include "ui/lists/SMemory1.h"
#include "ui/lists/SRates1.h"
#include "ui/lists/STaxes1.h"
#include "ui/lists/Taxes1.h"
#include "ui/main/Devical1.h"
#include "ui/question/Quest1.h"
#include "ui/services.h"
#include "ui/tape/Tape1.h"

namespace devical::app {

// What the other windows need of the main window, through its public members.
class CalcServices : public ui::Services {
public:
    explicit CalcServices(ui::TCalc& calc) : calc_(calc) {}

    QString ProgramDirectory() const override { return calc_.ProgramDirectory(); }
    std::optional<storage::LanguageFile> OpenLanguageFile() override { return calc_.OpenLanguageFile(); }
    QString MessageText(std::string_view key) const override;
    platform::MessageAnswer ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) override;
    bool Choose(const storage::RowChoice& choice) override { return calc_.Choose(choice); }
    bool RatesDaily() const override { return calc_.RatesDaily(); }
    QString RatesDay() const override { return calc_.RatesDay(); }
    bool StoreRatesDaily(bool daily) override { return calc_.StoreRatesDaily(daily); }
    bool StoreTitle(storage::TitleTarget target, const std::string& title) override {
        return calc_.StoreTitle(target, title);
    }
    QString CurrencyTitle() const override { return calc_.CurrencyTitle(); }
    QString TaxTitle() const override { return calc_.TaxTitle(); }
    QString MemoryCurrencyPrefix() const override { return calc_.MemoryCurrencyPrefix(); }
    void SetMemoryCurrencyPrefix(const QString& prefix) override { calc_.SetMemoryCurrencyPrefix(prefix); }
    void TakeBackActivation() override { calc_.TakeBackActivation(); }
    void ListFilesChanged() override { calc_.ListFilesChanged(); }
    session::TapeLog& Tape() override { return calc_.Tape(); }
    engine::TapeSettings TapeSettings() const override { return calc_.TapeSettings(); }
    void RecallFromTape(std::size_t line) override { calc_.RecallFromTape(line); }
    void TypeIntoCalculator(int key, Qt::KeyboardModifiers modifiers, const QString& text) override {
        calc_.TypeKey(key, modifiers, text);
    }

private:
    ui::TCalc& calc_;
};

// A list window and its entry dialog, made together: the list's texts and rows, then the
// dialog's texts.
template <typename List, typename Dialog>
class ListWithDialog {
public:
    List& Window(ui::Services& services) {
        Make(services);
        return *list_;
    }
    Dialog& EntryDialog(ui::Services& services) {
        Make(services);
        return *dialog_;
    }
    // The list file changed outside: the rows follow it, unless the user has edits of their own.
    void FollowFile() {
        if (list_) list_->FollowFile();
    }
    // After a language change: the texts and the rows again, if made.
    void Reload() {
        if (!list_) return;
        list_->FormCreate();
        dialog_->FormCreate();
    }
    // Before one: an entry dialog open is cancelled, an open list writes its rows.
    bool SaveIfOpen() {
        if (!list_) return true;
        if (dialog_->isVisible()) dialog_->BitBtn2Click();
        return list_->SaveIfOpen();
    }

private:
    void Make(ui::Services& services) {
        if (list_) return;
        list_ = std::make_unique<List>(services);
        dialog_ = std::make_unique<Dialog>(services, *list_);
        list_->FormCreate();
        dialog_->FormCreate();
        list_->SetEntryDialog(dialog_.get());
    }
    // The dialog refers to its list: it goes first.
    std::unique_ptr<List> list_;
    std::unique_ptr<Dialog> dialog_;
};

class DevicalWindows : public ui::LanguageSwitchHost {
public:
    explicit DevicalWindows(const QString& programDirectory);

    ui::TCalc Calc;

    ui::TQuestion& Question();
    ui::TRates& Rates() { return rates_.Window(services_); }
    ui::TSRates& SRates() { return rates_.EntryDialog(services_); }
    ui::TTaxes& Taxes() { return taxes_.Window(services_); }
    ui::TSTaxes& STaxes() { return taxes_.EntryDialog(services_); }
    ui::TMemory& Memory() { return memory_.Window(services_); }
    ui::TSMemory& SMemory() { return memory_.EntryDialog(services_); }
    TInfo& Info();
    ui::TChx_Langue& ChxLangue();
    ui::TTape& Tape();

    // The language switch, for the language dialog.
    QString ProgramDirectory() const override { return Calc.ProgramDirectory(); }
    bool SaveOpenWork() override;
    void ReloadWindows() override;
    // At the first start of a day, when the user asked for it: the rates of the day, quietly.
    void UpdateRatesIfDue();
    platform::MessageAnswer ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) override {
        return platform::ShowMessage(parent, kind, text);
    }
    void EndProgram() override { Calc.Bt_CloseClick(); }

private:
    CalcServices services_{Calc};
    std::unique_ptr<ui::TQuestion> question_;
    ListWithDialog<ui::TRates, ui::TSRates> rates_;
    ListWithDialog<ui::TTaxes, ui::TSTaxes> taxes_;
    ListWithDialog<ui::TMemory, ui::TSMemory> memory_;
    std::unique_ptr<TInfo> info_;
    std::unique_ptr<ui::TChx_Langue> chxLangue_;
    std::unique_ptr<ui::TTape> tape_;
};

}  // namespace devical::app
