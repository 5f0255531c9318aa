// The memory register: one pair of amounts (national, euro) with its currency code and
// title, held in the memory area's labels and saved in the settings file.
#include "engine/amount.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

// The plain number reading, without separator normalisation: captions and boxes carry the
// system's separator.
engine::Amount ReadCaption(const QString& text, char sep) {
    const auto value = engine::ReadNumber(Utf8(text), sep);
    if (!value) throw engine::ConversionError(Utf8(text));
    return *value;
}

// A code that is empty or one blank: the register has not taken a currency yet.
bool HoldsCurrency(const QString& code) { return !code.isEmpty() && code != QLatin1String(" "); }

}  // namespace

void TCalc::ButtonMPlusClick() { AddLineToMemory(+1); }
void TCalc::ButtonMMoinsClick() { AddLineToMemory(-1); }

void TCalc::AddLineToMemory(int sign) {
    const QString current = Lib_Cur->text().left(3);
    const QString held = Lb_Dev->text().left(3);
    if (!HoldsCurrency(held)) {
        Lb_Dev->setText(current);  // a register with no currency takes the current one
    } else if (held != current) {
        const auto& messages = Messages();
        platform::ShowMessage(this, platform::MessageKind::Notice,
                              QString::fromStdString(messages.MessageText("Dev_Mem1")) + QStringLiteral(" (") + held +
                                  QStringLiteral(") ") + QString::fromStdString(messages.MessageText("Dev_Mem2")) +
                                  QStringLiteral(" (") + current + QStringLiteral(")\n") +
                                  QString::fromStdString(messages.MessageText("Dev_Mem3")));
        return;
    }
    const char sep = platform::DecimalSeparator();
    const int row = engine::RowOf(State().BoxUnderEntry);
    const auto combine = [sign](engine::Amount memory, engine::Amount line) {
        return sign > 0 ? engine::CheckedAdd(memory, line) : engine::CheckedSub(memory, line);
    };
    try {
        Lib_MemCur->setText(QString::fromStdString(engine::AmountText(
            combine(ReadCaption(Lib_MemCur->text(), sep),
                    ReadCaption(QString::fromStdString(State().Box(engine::BoxNumber(row, 1))), sep)),
            sep)));
        Lib_MemEuro->setText(QString::fromStdString(engine::AmountText(
            combine(ReadCaption(Lib_MemEuro->text(), sep),
                    ReadCaption(QString::fromStdString(State().Box(engine::BoxNumber(row, 2))), sep)),
            sep)));
    } catch (const engine::AmountError& error) {
        ShowError(QString::fromStdString(error.what()));
        return;
    }
    SaveMemoryRegister();
    FocusEquals();
}

void TCalc::ButtonMRClick() {
    // Copied as it stands: no currency check, no recalculation, no saving.
    const int box = State().BoxUnderEntry;
    State().Box(box) = Utf8(engine::IsNationalBox(box) ? Lib_MemCur->text() : Lib_MemEuro->text());
    boxes_[static_cast<std::size_t>(box - 1)]->setText(QString::fromStdString(State().Box(box)));
    FocusEquals();
}

void TCalc::ButtonMCClick() {
    Lib_Memory->clear();
    Lb_Dev->clear();
    Lib_MemCur->setText(QStringLiteral("0"));
    Lib_MemEuro->setText(QStringLiteral("0"));
    SaveMemoryRegister();
    FocusEquals();
}

void TCalc::Label1Click() {
    // Display only: the next activation brings the stored amounts back.
    Lib_MemCur->setText(QStringLiteral("0"));
    Lib_MemEuro->setText(QStringLiteral("0"));
}

void TCalc::SaveMemoryRegister() {
    StoreSettings([this](const storage::SettingsFile& settings) {
        settings.WriteMemory(Utf8(Lb_Dev->text() + QLatin1Char(' ') + Lib_Memory->text()), Utf8(Lib_MemCur->text()),
                             Utf8(Lib_MemEuro->text()));
    });
}

void TCalc::Lst_MemoryClick() {
    QString code = Lb_Dev->text().left(3);
    if (code.isEmpty()) code = Lib_Cur->text().left(3);
    emit memoryListRequested(code + QLatin1Char(' ') + Lib_Memory->text(), Lib_MemCur->text(), Lib_MemEuro->text());
}

// ---- Titles and the lists behind the labels -------------------------------------------

void TCalc::Lib_HTClick() { emit titleEditRequested(QStringLiteral("HT"), Lib_HT->text()); }

void TCalc::Lib_TTCClick() { emit titleEditRequested(QStringLiteral("TTC"), Lib_TTC->text()); }

void TCalc::Lib_MemoryClick() {
    // Renaming must not move the amounts into another currency: a register that holds one
    // keeps its code; only an empty register takes the current currency's.
    const QString held = Lb_Dev->text().left(3);
    memoryCurrencyPrefix_ =
        HoldsCurrency(held) ? held.leftJustified(3, QLatin1Char(' ')) + QLatin1Char(' ') : Lib_Cur->text().left(4);
    memoryReloadFlag_ = false;  // the activation after the dialog keeps the amounts shown
    emit titleEditRequested(QStringLiteral("MEM"), Lib_Memory->text());
}

void TCalc::Lib_TaxeClick() { emit taxListRequested(); }
void TCalc::Lib_RateClick() { emit rateListRequested(); }
void TCalc::Lib_CurClick() { emit rateListRequested(); }

}  // namespace devical::ui
