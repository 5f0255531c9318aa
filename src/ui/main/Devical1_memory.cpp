// The memory area and the titles: the register as the engine holds it, and the questions
// and lists behind the labels.
#include "platform/message_box.h"
#include "ui/common/qt_text.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

void TCalc::ShowMemory(const engine::MemoryOutcome& outcome) {
    const engine::MemoryRegister& memory = state_.Memory;
    Lib_Memory->setText(Text(memory.Title));
    NameAmountBoxes();  // the memory's amounts are named by its title
    Lb_Dev->setText(Text(memory.Code));
    Lib_MemCur->setText(Text(memory.National));
    Lib_MemEuro->setText(Text(memory.Euro));
    if (outcome.notice) platform::ShowMessage(this, platform::MessageKind::Notice, Text(*outcome.notice));
    if (outcome.error) ShowError(Text(*outcome.error));
    if (!outcome.store) return;
    StoreSettings([&memory](const storage::SettingsFile& settings) {
        settings.WriteMemory(engine::StoredTitle(memory), memory.National, memory.Euro);
    });
    FocusEquals();
}

void TCalc::ButtonMRClick() {
    engine::RecallMemory(state_);
    ShowBoxes();
    FocusEquals();
    SpeakConversion();
}

void TCalc::Label1Click() {
    engine::ShowMemoryAsZero(state_.Memory);
    ShowMemory();
}

void TCalc::Lst_MemoryClick() {
    const engine::MemoryRegister& memory = state_.Memory;
    emit memoryListRequested(Text(engine::ListedTitle(memory, context_.currencyTitle)), Text(memory.National),
                             Text(memory.Euro));
}

void TCalc::Lib_HTClick() { emit titleEditRequested(storage::TitleTarget::Net, Text(context_.netCaption)); }

void TCalc::Lib_TTCClick() { emit titleEditRequested(storage::TitleTarget::Gross, Text(context_.grossCaption)); }

void TCalc::Lib_MemoryClick() {
    memoryCurrencyPrefix_ = Text(engine::StartRenaming(state_, context_));
    emit titleEditRequested(storage::TitleTarget::Memory, Text(state_.Memory.Title));
}

}  // namespace devical::ui
