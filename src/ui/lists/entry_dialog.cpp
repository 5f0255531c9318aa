#include "ui/lists/entry_dialog.h"

#include <QEvent>

#include "engine/rate_check.h"
#include "platform/desktop.h"
#include "ui/common/file_text_box.h"
#include "ui/common/focus_ring.h"
#include "ui/common/qt_text.h"
#include "ui/common/window_placement.h"

namespace devical::ui {

EntryDialog::EntryDialog(Services& services, ListWindow& list, const char* instanceName, const char* faceSection,
                         int amountBoxes, Holds holds, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      services_(services),
      list_(list),
      faceSection_(faceSection),
      holds_(holds) {
    setObjectName(QString::fromLatin1(instanceName));
    setModal(false);
    const bool twoAmounts = amountBoxes == 2;
    designWidth_ = twoAmounts ? 185 : 183;
    setFixedSize(designWidth_, twoAmounts ? 108 : 80);
    Edit1 = Box("Edit1", {2, 3, 180, 21}, QStringLiteral("Titre"));
    BuildAmountBoxes(twoAmounts);
    connect(Edit2, &QLineEdit::editingFinished, this, &EntryDialog::Edit2Exit);
    const int buttonsTop = twoAmounts ? 80 : 51;
    BitBtn1 = Placed(new QPushButton(QStringLiteral("OK"), this), "BitBtn1", {2, buttonsTop, 75, 25});
    BitBtn1->setDefault(true);
    for (QLineEdit* box : {Edit1, Edit2, Edit3})
        if (box) MakeFileTextBox(box, [this] { return services_.MessageText("CharNotInFile"); });
    BitBtn2 = Placed(new QPushButton(QStringLiteral("Annuler"), this), "BitBtn2", {107, buttonsTop, 75, 25});
    connect(BitBtn1, &QPushButton::clicked, this, &EntryDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &EntryDialog::BitBtn2Click);
    for (QWidget* control : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Label1, Label2, BitBtn2})
        if (control) designPlaces_.insert(control, control->geometry());
    new FocusRing(*this);
}

QLineEdit* EntryDialog::Box(const char* name, Place place, const QString& accessibleName) {
    auto* box = Placed(new QLineEdit(this), name, place);
    box->setAccessibleName(accessibleName);
    return box;
}

void EntryDialog::BuildAmountBoxes(bool twoAmounts) {
    if (!twoAmounts) {
        Edit2 = Box("Edit2", {35, 26, 119, 21}, QStringLiteral("Taux"));
        Edit2->setAlignment(Qt::AlignRight);
        return;
    }
    Label1 = Placed(new QLabel(QStringLiteral("Local"), this), "Label1", {2, 30, 42, 18});
    Label2 = Placed(new QLabel(QStringLiteral("Euro"), this), "Label2", {2, 54, 42, 18});
    Edit2 = Box("Edit2", {45, 28, 137, 21}, QStringLiteral("Local"));
    Edit3 = Box("Edit3", {45, 52, 137, 21}, QStringLiteral("Euro"));
    Edit2->setAlignment(Qt::AlignRight);
    Edit3->setAlignment(Qt::AlignRight);
    Label1->setBuddy(Edit2);
    Label2->setBuddy(Edit3);
    connect(Edit3, &QLineEdit::editingFinished, this, &EntryDialog::Edit3Exit);
}

void EntryDialog::FormCreate() {
    const auto lan = services_.OpenLanguageFile();
    if (!lan) return;
    auto text = [&](const char* key) { return Text(lan->Text(faceSection_, key)); };
    setWindowTitle(text("Title"));
    BitBtn1->setText(text("OK"));
    BitBtn2->setText(text("Cancel"));
    if (Label1) Label1->setText(text("Edit1"));
    if (Label2) Label2->setText(text("Edit2"));
    FitTexts();
    // Each box is named after the list column it fills.
    const QAbstractItemModel* rows = list_.ListView1->model();
    QLineEdit* const boxes[] = {Edit1, Edit2, Edit3};
    for (int column = 0; column < 3; ++column) {
        if (boxes[column]) boxes[column]->setAccessibleName(rows->headerData(column, Qt::Horizontal).toString());
    }
}

void EntryDialog::FormActivate() {
    const storage::RowEdit& edit = list_.Edit();
    const QString title = Text(edit.title);
    Edit1->setMaxLength(std::max(titleLength_, static_cast<int>(title.size())));  // a longer title read stays whole
    // A box that already shows its value keeps its selection: a screen reader would hear it go and come back.
    auto show = [](QLineEdit* box, const QString& value) {
        if (box && box->text() != value) box->setText(value);
    };
    show(Edit1, title);
    show(Edit2, edit.amounts.empty() ? QString() : Text(edit.amounts[0]));
    show(Edit3, edit.amounts.size() < 2 ? QString() : Text(edit.amounts[1]));
    if (auto* focused = qobject_cast<QLineEdit*>(focusWidget())) focused->selectAll();  // typing replaces
}

// Long labels push the amount boxes right, a long caption widens the dialog: the boxes take
// the extra width, Cancel stays at the right edge.
void EntryDialog::FitTexts() {
    int labelGrow = 0;
    for (QLabel* label : {Label1, Label2})
        if (label)
            labelGrow =
                std::max(labelGrow, label->fontMetrics().horizontalAdvance(label->text().remove(QLatin1Char('&'))) + 2 -
                                        designPlaces_[label].width());
    const int width = std::max(designWidth_ + labelGrow, FramedCaptionWidth(windowTitle()));
    const int grow = width - designWidth_;
    auto place = [this](QWidget* control, int moved, int widened) {
        if (control) control->setGeometry(designPlaces_[control].adjusted(moved, 0, moved + widened, 0));
    };
    place(Edit1, 0, grow);
    place(Label1, 0, labelGrow);
    place(Label2, 0, labelGrow);
    place(Edit2, Label1 ? labelGrow : 0, Label1 ? grow - labelGrow : grow);
    place(Edit3, labelGrow, grow - labelGrow);
    place(BitBtn2, grow, 0);
    setFixedWidth(width);
}

void EntryDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) FitTexts();
    // Text typed and not confirmed gives way to the working row when the dialog comes back,
    // but not when it comes back from its own message about that text.
    if (event->type() == QEvent::ActivationChange && messageBoxReturn_.IsNewActivation(*this)) FormActivate();
}

void EntryDialog::Edit2Exit() {
    // A rate stays as typed until OK checks it: turning it into 0 would store a rate that
    // means nothing without a word.
    if (holds_ == Holds::Amounts) ValidateAmount(Edit2);
}

bool EntryDialog::RateRefused() {
    const auto refusal = engine::RateRefusal(Edit2->text().toStdString(), platform::DecimalSeparator());
    if (!refusal) return false;
    services_.ShowMessage(this, platform::MessageKind::Error, Text(*refusal));
    Edit2->setFocus(Qt::OtherFocusReason);
    Edit2->selectAll();
    return true;
}

void EntryDialog::ValidateAmount(QLineEdit* box) {
    if (!engine::ReadNumber(engine::NormaliseSeparator(box->text().toStdString(), platform::DecimalSeparator()),
                            platform::DecimalSeparator()))
        box->setText(QStringLiteral("0"));
}

void EntryDialog::BitBtn1Click() {
    if (holds_ == Holds::Rate && RateRefused()) return;  // the dialog stays open, nothing is stored
    Edit2Exit();
    if (Edit3) Edit3Exit();
    storage::RowEdit& edit = list_.Edit();
    edit.title = StoredTitle(Edit1->text()).toStdString();
    edit.amounts.clear();
    const char sep = platform::DecimalSeparator();
    for (QLineEdit* box : {Edit2, Edit3})
        if (box) edit.amounts.push_back(engine::NormaliseSeparator(box->text().toStdString(), sep));
    list_.StoreRow(edit);
    BitBtn2Click();
}

void EntryDialog::BitBtn2Click() {
    if (list_.isVisible()) list_.activateWindow();
    hide();
}

}  // namespace devical::ui
