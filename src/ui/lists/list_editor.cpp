#include "ui/lists/list_editor.h"

#include <QApplication>
#include <QCollator>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/desktop.h"
#include "platform/message_box.h"
#include "storage/file_io.h"
#include "storage/language_file.h"
#include "ui/main/Devical1.h"
#include "ui/main/file_text_box.h"
#include "ui/main/window_placement.h"

namespace devical::ui {

namespace {

constexpr int kRowIdRole = Qt::UserRole + 1;
constexpr int kListHeight = 222;
constexpr int kPanelHeight = 30;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Rows are ordered by their titles with the user's locale's collation.
class ListRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        static const QCollator collator;
        return collator.compare(text(0), other.text(0)) < 0;
    }
};

// Grid lines between the cells, as in a report list.
class GridLines : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        const auto rgb = static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget));
        painter->save();
        painter->setPen(QColor(rgb));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

// Room beside the caption for the frame's icon and buttons, so that the caption is not cut.
constexpr int kCaptionFrameRoom = 72;

QToolButton* PanelButton(QWidget* panel, const char* name, int left, QStyle::StandardPixmap picture,
                         const QString& hint) {
    auto* button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 0, 30, 30);
    button->setAutoRaise(true);
    button->setIcon(panel->style()->standardIcon(picture));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

}  // namespace

// ---- List window -------------------------------------------------------------------------

ListWindow::ListWindow(TCalc& calc, ListDesign design, QWidget* parent)
    : QWidget(parent, Qt::Window), calc_(calc), design_(std::move(design)) {
    setObjectName(QString::fromLatin1(design_.instanceName));
    setWindowTitle(QString::fromUtf8(design_.caption));
    const int width = design_.fieldsPerRow == 3 ? 371 : 304;
    setFixedSize(width, kListHeight + kPanelHeight);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(0, 0, width, kListHeight);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setItemDelegate(new GridLines(ListView1));
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setHeaderLabels(design_.columns);
    ListView1->header()->setSectionsClickable(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, 200);
    for (int column = 1; column < design_.fieldsPerRow; ++column) ListView1->setColumnWidth(column, 75);
    QFont font = ListView1->font();
    font.setPointSize(9);
    ListView1->setFont(font);
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    ListView1->setAccessibleName(QString::fromUtf8(design_.caption));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kListHeight, width, kPanelHeight);
    const int okLeft = design_.copyButton ? 297 : 231;
    Bt_Edit = PanelButton(Panel1, "Bt_Edit", 0, QStyle::SP_FileDialogDetailedView, QStringLiteral("Modifier"));
    Bt_Ajout = PanelButton(Panel1, "Bt_Ajout", 41, QStyle::SP_FileDialogNewFolder, QStringLiteral("Insérer"));
    Bt_Del = PanelButton(Panel1, "Bt_Del", 82, QStyle::SP_TrashIcon, QStringLiteral("Supprimer"));
    Bt_OK = PanelButton(Panel1, "Bt_OK", okLeft, QStyle::SP_DialogApplyButton, QStringLiteral("Choisir"));
    Bt_Exit = PanelButton(Panel1, "Bt_Exit", okLeft + 41, QStyle::SP_DialogCloseButton, QStringLiteral("Sortir sans choisir"));
    connect(Bt_Edit, &QToolButton::clicked, this, &ListWindow::Bt_EditClick);
    connect(Bt_Ajout, &QToolButton::clicked, this, &ListWindow::Bt_AjoutClick);
    connect(Bt_Del, &QToolButton::clicked, this, &ListWindow::Bt_DelClick);
    connect(Bt_OK, &QToolButton::clicked, this, &ListWindow::Bt_OKClick);
    connect(Bt_Exit, &QToolButton::clicked, this, &ListWindow::Bt_ExitClick);
}

ListWindow::~ListWindow() = default;

QString ListWindow::FilePath() const {
    return Text(storage::FindFileNoCase(calc_.ProgramDirectory().toStdString(), design_.fileName).string());
}

void ListWindow::ShowNotice(const char* messageKey) {
    platform::ShowMessage(this, platform::MessageKind::Notice, Text(calc_.Messages().MessageText(messageKey)));
}

void ListWindow::ShowError(const QString& text) { platform::ShowMessage(this, platform::MessageKind::Error, text); }

void ListWindow::FormCreate() {
    if (const auto lan = calc_.OpenLanguageFile()) {
        auto text = [&lan](const char* section, const char* key) { return Text(lan->Text(section, key)); };
        setWindowTitle(text(design_.faceSection, "Title"));
        QStringList columns;
        for (int column = 1; column <= design_.fieldsPerRow; ++column)
            columns << text(design_.faceSection, QByteArray("Column" + QByteArray::number(column)).constData());
        ListView1->setHeaderLabels(columns);
        std::vector<std::pair<QToolButton*, const char*>> hints = {
            {Bt_Edit, "Edit"}, {Bt_Ajout, "Add"}, {Bt_Del, "Del"}, {Bt_OK, "Ok"}, {Bt_Exit, "Cancel"}};
        if (auto* copy = findChild<QToolButton*>(QStringLiteral("Bt_CopieMem"))) hints.emplace_back(copy, "Copy");
        for (const auto& [button, key] : hints) {
            const QString hint = text(design_.tipsSection, key);
            button->setToolTip(hint);
            if (!hint.isEmpty()) button->setAccessibleName(hint);  // picture buttons are known by their hint
        }
    }

    try {
        const auto records =
            storage::LoadList(FilePath().toStdString(), design_.fieldsPerRow, platform::DecimalSeparator());
        if (!records) {
            ShowNotice(design_.missingFileKey);  // the list keeps its rows; the next save creates the file
            return;
        }
        SetSorted(false);
        ListView1->clear();
        for (const storage::ListRecord& record : *records) {
            QStringList fields;
            for (const std::string& field : record) fields << Text(field);
            AppendRow(fields, true);
        }
        SetSorted(true);
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
    }
}

void ListWindow::ShowList() { ShowInFront(this); }

quint64 ListWindow::RowIdOf(const QTreeWidgetItem& row) { return row.data(0, kRowIdRole).toULongLong(); }

std::optional<engine::Amount> ListWindow::ListedRate(const QTreeWidgetItem& row) {
    try {
        return engine::ParseAmount(row.text(1).toStdString(), platform::DecimalSeparator());
    } catch (const engine::ConversionError& error) {  // only a hand-edited file holds such a rate
        ShowError(Text(error.what()));
        return std::nullopt;
    }
}

QTreeWidgetItem* ListWindow::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QStringList ListWindow::Fields(const QTreeWidgetItem& row) const {
    QStringList fields;
    for (int column = 0; column < design_.fieldsPerRow; ++column) fields << row.text(column);
    return fields;
}

QTreeWidgetItem* ListWindow::AppendRow(const QStringList& fields, bool fromFile) {
    auto* row = new ListRow(ListView1, fields);
    row->setData(0, kRowIdRole, nextRowId_++);
    for (int column = 1; column < design_.fieldsPerRow; ++column) row->setTextAlignment(column, Qt::AlignRight);
    MarkRow(*row, fromFile);
    return row;
}

void ListWindow::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) ListView1->sortItems(0, Qt::AscendingOrder);
}

RowEdit ListWindow::EditFor(const QTreeWidgetItem& row) {
    RowEdit edit;
    edit.Title = row.text(0);
    edit.Amounts = Fields(row).mid(1);
    return edit;
}

void ListWindow::OpenEntryDialog() {
    if (!dialog_) return;
    ShowInFront(dialog_);
    dialog_->FormActivate();  // a dialog already in front takes the new row too
}

void ListWindow::Bt_EditClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (!row) return ShowNotice("SelBeforeEdit");
    if (IsLocked(*row)) return;
    rowEdit_ = EditFor(*row);
    rowEdit_.RowId = RowIdOf(*row);
    rowEdit_.Mode = QStringLiteral("MODIF");
    OpenEntryDialog();
}

void ListWindow::Bt_AjoutClick() {
    // The new row stays at the end until the list is next saved.
    SetSorted(false);
    const QStringList placeholder = PlaceholderRow();
    QTreeWidgetItem* row = AppendRow(placeholder);
    rowEdit_ = EditFor(*row);
    rowEdit_.RowId = RowIdOf(*row);
    rowEdit_.Mode = QStringLiteral("INSERT");
    OpenEntryDialog();
}

void ListWindow::Bt_DelClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (!row) return ShowNotice("SelBeforeDel");
    if (IsLocked(*row)) return;
    const QString question = Text(calc_.Messages().MessageText("WantDelRow")) + QStringLiteral(" \"") + row->text(0) +
                             QStringLiteral("\" ?");
    if (platform::ShowMessage(this, platform::MessageKind::Question, question) == platform::MessageAnswer::Ok)
        delete row;
}

void ListWindow::Bt_OKClick() {
    QTreeWidgetItem* row = SelectedRow();
    if (!row) return ShowNotice(design_.noChoiceKey);
    if (!ChooseRow(*row) || !SaveList()) return;
    Leave();
}

void ListWindow::Bt_ExitClick() {
    if (SaveList()) Leave();
}

void ListWindow::Leave() {
    hide();
    calc_.TakeBackActivation();
}

bool ListWindow::SaveList() {
    SetSorted(true);
    try {
        storage::SaveList(FilePath().toStdString(), Records());
        return true;
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));  // the file on disk keeps its previous content
        return false;
    }
}

std::vector<storage::ListRecord> ListWindow::Records() const {
    std::vector<storage::ListRecord> records;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        storage::ListRecord record;
        for (const QString& field : Fields(*ListView1->topLevelItem(i))) record.push_back(field.toStdString());
        records.push_back(std::move(record));
    }
    return records;
}

void ListWindow::StoreRow(const RowEdit& edit) {
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < ListView1->topLevelItemCount() && !row; ++i)
        if (RowIdOf(*ListView1->topLevelItem(i)) == edit.RowId) row = ListView1->topLevelItem(i);
    if (!row) row = AppendRow(QStringList(QString()) << QStringList(edit.Amounts.size(), QString()));
    // The amounts first and the title last: a re-sort on the title keeps them together.
    for (int column = static_cast<int>(edit.Amounts.size()); column >= 1; --column)
        row->setText(column, edit.Amounts[column - 1]);
    row->setText(0, edit.Title);
    if (sorted_) SetSorted(true);
}

void ListWindow::ListView1KeyDown(int key, Qt::KeyboardModifiers) {
    switch (key) {
    case Qt::Key_F2: Bt_EditClick(); break;
    case Qt::Key_Insert: Bt_AjoutClick(); break;
    case Qt::Key_Delete: Bt_DelClick(); break;
    case Qt::Key_Escape: Bt_ExitClick(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: Bt_OKClick(); break;
    default: break;
    }
}

void ListWindow::ListView1KeyPress(QChar character) {
    if (character == QLatin1Char('v') || character == QLatin1Char('V')) Bt_OKClick();
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        ListView1KeyDown(key->key(), key->modifiers());
        if (!key->text().isEmpty()) ListView1KeyPress(key->text().at(0));
        return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    }
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        ListView1DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Entry dialog ----------------------------------------------------------------------

EntryDialog::EntryDialog(TCalc& calc, ListWindow& list, const char* instanceName, const char* faceSection,
                         int amountBoxes, std::optional<engine::RateKind> rateKind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      calc_(calc),
      list_(list),
      faceSection_(faceSection),
      rateKind_(rateKind) {
    setObjectName(QString::fromLatin1(instanceName));
    setModal(false);
    const bool twoAmounts = amountBoxes == 2;
    designWidth_ = twoAmounts ? 185 : 183;
    setFixedSize(designWidth_, twoAmounts ? 108 : 80);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(2, 3, 180, 21);
    Edit1->setAccessibleName(QStringLiteral("Titre"));
    auto amountBox = [this](const char* name, QRect place, const QString& accessibleName) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(place);
        box->setAlignment(Qt::AlignRight);
        box->setAccessibleName(accessibleName);
        return box;
    };
    if (twoAmounts) {
        Label1 = new QLabel(QStringLiteral("Local"), this);
        Label1->setObjectName(QStringLiteral("Label1"));
        Label1->setGeometry(2, 30, 42, 18);
        Label2 = new QLabel(QStringLiteral("Euro"), this);
        Label2->setObjectName(QStringLiteral("Label2"));
        Label2->setGeometry(2, 54, 42, 18);
        Edit2 = amountBox("Edit2", QRect(45, 28, 137, 21), QStringLiteral("Local"));
        Edit3 = amountBox("Edit3", QRect(45, 52, 137, 21), QStringLiteral("Euro"));
        Label1->setBuddy(Edit2);
        Label2->setBuddy(Edit3);
        connect(Edit3, &QLineEdit::editingFinished, this, &EntryDialog::Edit3Exit);
    } else {
        Edit2 = amountBox("Edit2", QRect(35, 26, 119, 21), QStringLiteral("Taux"));
    }
    connect(Edit2, &QLineEdit::editingFinished, this, &EntryDialog::Edit2Exit);
    const int buttonsTop = twoAmounts ? 80 : 51;
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(2, buttonsTop, 75, 25);
    BitBtn1->setDefault(true);
    for (QLineEdit* box : {Edit1, Edit2, Edit3})
        if (box) MakeFileTextBox(box);
    BitBtn2 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(107, buttonsTop, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &EntryDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &EntryDialog::BitBtn2Click);
}

void EntryDialog::FormCreate() {
    const auto lan = calc_.OpenLanguageFile();
    if (!lan) return;
    auto text = [&](const char* key) { return Text(lan->Text(faceSection_, key)); };
    setWindowTitle(text("Title"));
    BitBtn1->setText(text("OK"));
    BitBtn2->setText(text("Cancel"));
    if (Label1) Label1->setText(text("Edit1"));
    if (Label2) Label2->setText(text("Edit2"));
}

void EntryDialog::FormActivate() {
    const RowEdit& edit = list_.Edit();
    Edit1->setText(edit.Title);
    Edit2->setText(edit.Amounts.value(0));
    if (Edit3) Edit3->setText(edit.Amounts.value(1));
    if (auto* focused = qobject_cast<QLineEdit*>(focusWidget())) focused->selectAll();  // typing replaces
}

void EntryDialog::FitCaption() {
    QFont captionFont = QApplication::font();
    captionFont.setBold(true);
    const int wanted =
        std::max(designWidth_, QFontMetrics(captionFont).horizontalAdvance(windowTitle()) + kCaptionFrameRoom);
    const int grow = wanted - width();
    if (grow == 0) return;
    // The boxes take the extra width; Cancel stays at the right edge.
    for (QLineEdit* box : {Edit1, Edit2, Edit3})
        if (box) box->resize(box->width() + grow, box->height());
    BitBtn2->move(BitBtn2->x() + grow, BitBtn2->y());
    setFixedWidth(wanted);
}

void EntryDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) FitCaption();
    // Text typed and not confirmed gives way to the working row when the dialog comes back,
    // but not when it comes back from its own message about that text.
    if (event->type() == QEvent::ActivationChange && messageBoxReturn_.IsNewActivation(*this)) FormActivate();
}

void EntryDialog::Edit2Exit() {
    // A rate stays as typed until OK checks it: turning it into 0 would store a rate that
    // means nothing without a word.
    if (!rateKind_) ValidateAmount(Edit2);
}

bool EntryDialog::RateRefused() {
    const auto refusal = engine::RateRefusal(Edit2->text().toStdString(), *rateKind_, platform::DecimalSeparator());
    if (!refusal) return false;
    platform::ShowMessage(this, platform::MessageKind::Error, Text(calc_.Messages().MessageText(*refusal)));
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
    if (rateKind_ && RateRefused()) return;  // the dialog stays open, nothing is stored
    Edit2Exit();
    if (Edit3) Edit3Exit();
    RowEdit& edit = list_.Edit();
    edit.Title = StoredTitle(Edit1->text());
    const char sep = platform::DecimalSeparator();
    edit.Amounts.clear();
    for (QLineEdit* box : {Edit2, Edit3})
        if (box) edit.Amounts << Text(engine::NormaliseSeparator(box->text().toStdString(), sep));
    list_.StoreRow(edit);
    BitBtn2Click();
}

void EntryDialog::BitBtn2Click() {
    if (list_.isVisible()) list_.activateWindow();
    hide();
}

}  // namespace devical::ui
