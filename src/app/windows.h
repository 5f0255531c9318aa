// Every window of the program, wired to the main window. The main window is made at once;
// the others, each with its creation step, when first needed, so that Devical opens as
// fast and as small as a bare window.
#pragma once

#include <QString>
#include <memory>

#include "app/Info1.h"
#include "ui/lists/Memory1.h"
#include "ui/lists/Rates1.h"
#include "ui/lists/SMemory1.h"
#include "ui/lists/SRates1.h"
#include "ui/lists/STaxes1.h"
#include "ui/lists/Taxes1.h"
#include "ui/main/Devical1.h"
#include "ui/main/Quest1.h"

namespace devical::app {

// A list window and its entry dialog, made together: the list's texts and rows, then the
// dialog's texts.
template <typename List, typename Dialog>
class ListWithDialog {
public:
    List& Window(ui::TCalc& calc) {
        Make(calc);
        return *list_;
    }
    Dialog& EntryDialog(ui::TCalc& calc) {
        Make(calc);
        return *dialog_;
    }

private:
    void Make(ui::TCalc& calc) {
        if (list_) return;
        list_ = std::make_unique<List>(calc);
        dialog_ = std::make_unique<Dialog>(calc, *list_);
        list_->FormCreate();
        dialog_->FormCreate();
        list_->SetEntryDialog(dialog_.get());
    }
    // The dialog refers to its list: it goes first.
    std::unique_ptr<List> list_;
    std::unique_ptr<Dialog> dialog_;
};

class DevicalWindows {
public:
    explicit DevicalWindows(const QString& programDirectory);

    ui::TCalc Calc;

    ui::TQuestion& Question();
    ui::TRates& Rates() { return rates_.Window(Calc); }
    ui::TSRates& SRates() { return rates_.EntryDialog(Calc); }
    ui::TTaxes& Taxes() { return taxes_.Window(Calc); }
    ui::TSTaxes& STaxes() { return taxes_.EntryDialog(Calc); }
    ui::TMemory& Memory() { return memory_.Window(Calc); }
    ui::TSMemory& SMemory() { return memory_.EntryDialog(Calc); }
    TInfo& Info();

private:
    std::unique_ptr<ui::TQuestion> question_;
    ListWithDialog<ui::TRates, ui::TSRates> rates_;
    ListWithDialog<ui::TTaxes, ui::TSTaxes> taxes_;
    ListWithDialog<ui::TMemory, ui::TSMemory> memory_;
    std::unique_ptr<TInfo> info_;
};

}  // namespace devical::app
