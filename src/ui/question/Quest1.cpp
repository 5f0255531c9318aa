#include "ui/question/Quest1.h"

#include "engine/builtin_texts.h"
#include "engine/memory_register.h"
#include "ui/common/file_text_box.h"
#include "ui/common/placed.h"
#include "ui/common/qt_text.h"
#include "ui/common/window_placement.h"
#include "ui/services.h"

namespace devical::ui {

namespace {

constexpr int kAnyLength = 32767;  // a line box's own limit

}  // namespace

TQuestion::TQuestion(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      services_(services) {
    setObjectName(QStringLiteral("Question"));
    setWindowTitle(QStringLiteral("Saisie d'un titre"));
    setModal(false);
    setFixedSize(298, 61);
    Edit_Reponse = Placed(new QLineEdit(this), "Edit_Reponse", {4, 4, 291, 21});
    Edit_Reponse->setAccessibleName(QStringLiteral("Titre"));
    MakeFileTextBox(Edit_Reponse, [this] { return services_.MessageText("CharNotInFile"); });
    Lib_Cas = Placed(new QLabel(this), "Lib_Cas", {10, 34, 40, 13});
    Lib_Cas->hide();
    Bt_OK = Placed(new QPushButton(QStringLiteral("OK"), this), "Bt_OK", {62, 31, 75, 25});
    Bt_OK->setDefault(true);
    Bt_Close = Placed(new QPushButton(QStringLiteral("Annuler"), this), "Bt_Close", {166, 31, 75, 25});
    // OK has the focus first; Tab leads from it to the answer, never to Cancel.
    setTabOrder(Bt_OK, Edit_Reponse);
    setTabOrder(Edit_Reponse, Bt_Close);
    connect(Bt_OK, &QPushButton::clicked, this, &TQuestion::Bt_OKClick);
    connect(Bt_Close, &QPushButton::clicked, this, &TQuestion::Bt_CloseClick);
}

void TQuestion::FormCreate() {
    const auto lan = services_.OpenLanguageFile();
    if (!lan) return;
    setWindowTitle(QString::fromStdString(lan->Text("Question_Face", "Title")));
    // The one box is what the caption asks for.
    Edit_Reponse->setAccessibleName(windowTitle().isEmpty() ? Text(engine::BuiltInText("TitleBox")) : windowTitle());
    Bt_Close->setText(Text(engine::BuiltInText("Cancel")));
}

void TQuestion::Ask(storage::TitleTarget target, const QString& title) {
    target_ = target;
    const char* const tags[] = {"HT", "TTC", "MEM"};
    Lib_Cas->setText(QString::fromLatin1(tags[static_cast<int>(target)]));
    // The memory's title is kept to its length; the line titles are not cut.
    Edit_Reponse->setMaxLength(target == storage::TitleTarget::Memory ? engine::kMemoryTitleLength : kAnyLength);
    Edit_Reponse->setText(title);
    ShowInFront(this);
    FormShow();
}

// Enter confirms the preset title at once; a click or Tab reaches the box to edit it.
void TQuestion::FormShow() { Bt_OK->setFocus(Qt::OtherFocusReason); }

void TQuestion::Bt_OKClick() {
    // The memory's title goes with its currency's prefix.
    const QString prefix = target_ == storage::TitleTarget::Memory ? services_.MemoryCurrencyPrefix() : QString();
    const std::string title = (prefix + Edit_Reponse->text()).toStdString();
    if (services_.StoreTitle(target_, title)) Bt_CloseClick();
}

void TQuestion::Bt_CloseClick() {
    hide();
    services_.TakeBackActivation();
}

}  // namespace devical::ui
