#include "ui/lists/Memory1.h"

#include <QStyle>

#include "platform/message_box.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

TMemory::TMemory(TCalc& calc, QWidget* parent)
    : ListWindow(calc,
                 {"Memory", "Mémoires", "Memory_Face", "Memory_Tips", "Memory.txt", "DontExistMem", "SelMemBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Local"), QStringLiteral("Euro")}, storage::kMemoryFields,
                  true},
                 parent) {
    Bt_CopieMem = new QToolButton(Panel1);
    Bt_CopieMem->setObjectName(QStringLiteral("Bt_CopieMem"));
    Bt_CopieMem->setGeometry(189, 0, 30, 30);
    Bt_CopieMem->setAutoRaise(true);
    Bt_CopieMem->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    Bt_CopieMem->setToolTip(QStringLiteral("Copier la mémoire en cours"));
    Bt_CopieMem->setAccessibleName(QStringLiteral("Copier la mémoire en cours"));
    connect(Bt_CopieMem, &QToolButton::clicked, this, &TMemory::Bt_CopieMemClick);
}

void TMemory::SetCurrentMemory(const QString& title, const QString& national, const QString& euro) {
    currentMemory_ = {title, national, euro};
}

QStringList TMemory::PlaceholderRow() {
    calc_.SetMemoryCurrencyPrefix(calc_.CurrencyTitle().left(4));
    return {calc_.MemoryCurrencyPrefix() + QStringLiteral("Titre"), QStringLiteral("0"), QStringLiteral("0")};
}

// The title's first four characters are its currency's prefix; the dialog edits the rest.
RowEdit TMemory::EditFor(const QTreeWidgetItem& row) {
    calc_.SetMemoryCurrencyPrefix(row.text(0).left(4));
    RowEdit edit;
    edit.Title = row.text(0).mid(4);
    edit.Amounts = QStringList{row.text(1), row.text(2)};
    return edit;
}

void TMemory::Bt_CopieMemClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (!row) {
        SetSorted(false);
        AppendRow(currentMemory_);
        return;
    }
    const auto& messages = calc_.Messages();
    const QString question = QString::fromStdString(messages.MessageText("WantReplace1")) + QLatin1Char(' ') +
                             row->text(0) + QStringLiteral(" (") + row->text(1) + QStringLiteral(" / ") + row->text(2) +
                             QStringLiteral(") ") + QString::fromStdString(messages.MessageText("WantReplace2")) +
                             QLatin1Char(' ') + currentMemory_[0] + QStringLiteral(" (") + currentMemory_[1] +
                             QStringLiteral(" / ") + currentMemory_[2] + QStringLiteral(") ?");
    if (platform::ShowMessage(this, platform::MessageKind::YesNo, question) != platform::MessageAnswer::Yes) return;
    RowEdit replacement;
    replacement.RowId = RowIdOf(*row);
    replacement.Title = currentMemory_[0];
    replacement.Amounts = currentMemory_.mid(1);
    StoreRow(replacement);
}

void TMemory::ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Plus && modifiers.testFlag(Qt::KeypadModifier)) Bt_CopieMemClick();
    ListWindow::ListView1KeyDown(key, modifiers);
}

bool TMemory::ChooseRow(const QTreeWidgetItem& row) {
    currentMemory_ = {row.text(0), row.text(1), row.text(2)};
    return calc_.StoreSettings([&row](const storage::SettingsFile& settings) {
        settings.WriteMemory(row.text(0).toStdString(), row.text(1).toStdString(), row.text(2).toStdString());
    });
}

}  // namespace devical::ui
