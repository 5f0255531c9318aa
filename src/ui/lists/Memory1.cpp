#include "ui/lists/Memory1.h"

#include "engine/builtin_texts.h"

namespace devical::ui {

TMemory::TMemory(Services& services, QWidget* parent)
    : ListWindow(services,
                 {storage::ListKind::SavedAmounts,
                  "Memory",
                  "Mémoires",
                  "Memory_Face",
                  "Memory_Tips",
                  "Memory.txt",
                  "DontExistMem",
                  "SelMemBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Local"), QStringLiteral("Euro")}},
                 parent) {
    Bt_CopieMem = PanelButton("Bt_CopieMem", 189, style()->standardIcon(QStyle::SP_DialogSaveButton),
                              QStringLiteral("Copier la mémoire en cours"), "Copy");
    connect(Bt_CopieMem, &QToolButton::clicked, this, &TMemory::Bt_CopieMemClick);
    setTabOrder(Bt_Del, Bt_CopieMem);  // Tab follows the buttons from left to right
    setTabOrder(Bt_CopieMem, Bt_OK);
}

void TMemory::SetCurrentMemory(const QString& title, const QString& national, const QString& euro) {
    currentMemory_ = {title, national, euro};
}

void TMemory::Chosen(const storage::RowChoice& choice) {
    const auto& chosen = std::get<storage::SavedAmountChoice>(choice);
    SetCurrentMemory(QString::fromStdString(chosen.title), QString::fromStdString(chosen.nationalAmount),
                     QString::fromStdString(chosen.euroAmount));
}

void TMemory::Bt_CopieMemClick() {
    const storage::ListRecord current = {currentMemory_[0].toStdString(), currentMemory_[1].toStdString(),
                                         currentMemory_[2].toStdString()};
    const int row = SelectedRow();
    if (row < 0) {
        model_->Append(current);
        return;
    }
    const storage::ListRow& listed = model_->Rows().Row(static_cast<std::size_t>(row));
    auto described = [](const std::string& title, const std::string& national, const std::string& euro) {
        return QString::fromStdString(title + " (" + national + " / " + euro + ")");
    };
    const QString question = services_.MessageText("WantReplace1") + QLatin1Char(' ') +
                             described(listed.title, listed.amounts[0], listed.amounts[1]) + QLatin1Char(' ') +
                             services_.MessageText("WantReplace2") + QLatin1Char(' ') +
                             described(current[0], current[1], current[2]) +
                             QString::fromStdString(engine::BuiltInText("QuestionMark"));
    if (services_.ShowMessage(this, platform::MessageKind::YesNo, question) != platform::MessageAnswer::Yes) return;
    storage::RowEdit replacement;
    replacement.rowId = listed.id;
    replacement.title = current[0];
    replacement.amounts = {current[1], current[2]};
    StoreRow(replacement);
}

void TMemory::ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Plus && modifiers.testFlag(Qt::KeypadModifier)) Bt_CopieMemClick();
    ListWindow::ListView1KeyDown(key, modifiers);
}

}  // namespace devical::ui
