// The memory area and the titles: the register as the engine holds it, and the questions
// and lists behind the labels.
#include "platform/message_box.h"
#include "ui/common/qt_text.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

void TCalc::ShowMemory() {
    const engine::MemoryRegister& memory = State().Memory;
    Lib_Memory->setText(Text(memory.Title));
    NameAmountBoxes();  // the memory's amounts are named by its title
    Lb_Dev->setText(Text(memory.Code));
    Lib_MemCur->setText(Text(memory.National));
    Lib_MemEuro->setText(Text(memory.Euro));
}

void TCalc::ShowMemoryOutcome(const engine::MemoryOutcome& outcome) {
    if (outcome.notice) platform::ShowMessage(this, platform::MessageKind::Notice, Text(*outcome.notice));
    if (outcome.error) ShowError(Text(*outcome.error));
    if (outcome.store) FocusEquals();
}

void TCalc::ButtonMRClick() {
    session_.RecallMemory();
    FocusEquals();
    SpeakMemory();  // what was recalled: the memory's title and amounts
}

void TCalc::RecallFromTape(std::size_t line) {
    if (!session_.RecallFromTape(line)) return;
    FocusEquals();
    SpeakConversion();
}

void TCalc::Label1Click() { session_.ShowMemoryAsZero(); }

void TCalc::Lst_MemoryClick() {
    const engine::MemoryRegister& memory = State().Memory;
    emit memoryListRequested(Text(engine::ListedTitle(memory, session_.Context().currencyTitle)), Text(memory.National),
                             Text(memory.Euro));
}

void TCalc::Lib_HTClick() { emit titleEditRequested(storage::TitleTarget::Net, Text(session_.Context().netCaption)); }

void TCalc::Lib_TTCClick() {
    emit titleEditRequested(storage::TitleTarget::Gross, Text(session_.Context().grossCaption));
}

void TCalc::Lib_MemoryClick() {
    memoryCurrencyPrefix_ = Text(session_.StartRenaming());
    emit titleEditRequested(storage::TitleTarget::Memory, Text(State().Memory.Title));
}

}  // namespace devical::ui
