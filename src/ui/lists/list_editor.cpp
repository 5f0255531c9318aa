#include "ui/lists/list_editor.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "storage/file_io.h"
#include "ui/common/focus_ring.h"
#include "ui/common/icons.h"
#include "ui/common/panel_button.h"
#include "ui/common/placed.h"
#include "ui/common/qt_text.h"
#include "ui/common/report_view.h"
#include "ui/common/window_placement.h"
#include "ui/lists/entry_dialog.h"

namespace devical::ui {

namespace {

constexpr int kListHeight = 222;
constexpr int kPanelHeight = 30;

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

}  // namespace

ListWindow::ListWindow(Services& services, ListDesign design, QWidget* parent)
    : QWidget(parent, Qt::Window),
      services_(services),
      design_(std::move(design)),
      model_(new ListViewModel(design_.kind, this)) {
    setObjectName(QString::fromLatin1(design_.instanceName));
    setWindowTitle(QString::fromUtf8(design_.caption));
    const int width = model_->columnCount() == 3 ? 371 : 304;
    // The user may enlarge the list to read long titles whole.
    setMinimumSize(width, kListHeight + kPanelHeight);
    resize(minimumSize());
    BuildView(width);

    Panel1 = Placed(new QWidget(this), "Panel1", {0, kListHeight, width, kPanelHeight});
    const int okLeft = design_.kind == storage::ListKind::SavedAmounts ? 297 : 231;
    auto standard = [this](QStyle::StandardPixmap picture) { return style()->standardIcon(picture); };
    Bt_Edit =
        PanelButton("Bt_Edit", 0, standard(QStyle::SP_FileDialogDetailedView), QStringLiteral("Modifier"), "Edit");
    Bt_Ajout = PanelButton("Bt_Ajout", 41, standard(QStyle::SP_FileDialogNewFolder), QStringLiteral("Insérer"), "Add");
    Bt_Del = PanelButton("Bt_Del", 82, standard(QStyle::SP_TrashIcon), QStringLiteral("Supprimer"), "Del");
    Bt_OK = PanelButton("Bt_OK", okLeft, standard(QStyle::SP_DialogApplyButton), QStringLiteral("Choisir"), "Ok");
    // The style's cross is dark whatever the palette: drawn, it reads on a dark one too.
    Bt_Exit = PanelButton("Bt_Exit", okLeft + 41, CloseIcon(PanelInk(*Panel1)), QStringLiteral("Sortir sans choisir"),
                          "Cancel");
    okFromRight_ = width - okLeft;
    connect(Bt_Edit, &QToolButton::clicked, this, &ListWindow::Bt_EditClick);
    connect(Bt_Ajout, &QToolButton::clicked, this, &ListWindow::Bt_AjoutClick);
    connect(Bt_Del, &QToolButton::clicked, this, &ListWindow::Bt_DelClick);
    connect(Bt_OK, &QToolButton::clicked, this, &ListWindow::Bt_OKClick);
    connect(Bt_Exit, &QToolButton::clicked, this, &ListWindow::Bt_ExitClick);
    new FocusRing(*this);
}

void ListWindow::BuildView(int width) {
    model_->SetHeaders(design_.columns);
    // The titles take what room there is.
    ListView1 = MakeReportView(this, {0, 0, width, kListHeight}, model_, 0, QAbstractItemView::SingleSelection);
    ListView1->setItemDelegate(new GridLines(ListView1));
    ListView1->viewport()->installEventFilter(this);
    ListView1->setAccessibleName(QString::fromUtf8(design_.caption));
}

QToolButton* ListWindow::PanelButton(const char* name, int left, const QIcon& picture, const QString& hint,
                                     const char* tipsKey) {
    QToolButton* button = MakePanelButton(Panel1, name, left, picture);
    tippedButtons_.emplace_back(button, tipsKey);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

QString ListWindow::FilePath() const {
    return Text(storage::FindFileNoCase(services_.ProgramDirectory().toStdString(), design_.fileName).string());
}

void ListWindow::ShowNotice(const char* messageKey) {
    services_.ShowMessage(this, platform::MessageKind::Notice, services_.MessageText(messageKey));
}

void ListWindow::ShowError(const QString& text) { services_.ShowMessage(this, platform::MessageKind::Error, text); }

void ListWindow::ApplyLanguage() {
    const auto lan = services_.OpenLanguageFile();
    if (!lan) return;
    auto text = [&lan](const char* section, const char* key) { return Text(lan->Text(section, key)); };
    setWindowTitle(text(design_.faceSection, "Title"));
    ListView1->setAccessibleName(windowTitle());
    QStringList columns;
    for (int column = 1; column <= model_->columnCount(); ++column)
        columns << text(design_.faceSection, QByteArray("Column" + QByteArray::number(column)).constData());
    model_->SetHeaders(columns);
    FitColumns();
    model_->SetLockedDescription(text(design_.faceSection, "Locked"));
    for (const auto& [button, key] : tippedButtons_) {
        const QString hint = text(design_.tipsSection, key);
        button->setToolTip(hint);
        if (!hint.isEmpty()) button->setAccessibleName(hint);  // picture buttons are known by their hint
    }
    ApplyOwnTexts(*lan);
}

void ListWindow::KeepClearOfOk(const QWidget& control) {
    setMinimumWidth(std::max(minimumWidth(), control.geometry().right() + 6 + okFromRight_));
}

void ListWindow::FormCreate() {
    ApplyLanguage();
    try {
        // A missing file is reported; the list keeps its rows and the next save creates it.
        if (!model_->LoadList(FilePath(), platform::DecimalSeparator())) ShowNotice(design_.missingFileKey);
        ShowLoadProblems();
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
    }
}

void ListWindow::ShowList() {
    FollowFile();
    WidenToTitles();
    ShowInFront(this);
    ShowCurrentRow();
}

void ListWindow::FollowFile() {
    try {
        if (model_->FollowFile(FilePath(), platform::DecimalSeparator())) ShowLoadProblems();
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
    }
}

// Lines cut as the file was read, say: the rows are shown all the same.
void ListWindow::ShowLoadProblems() {
    for (const std::string& problem : model_->Rows().Problems())
        ShowError(Text(problem));
}

void ListWindow::SetUpdating(bool updating) {
    updating_ = updating;
    for (QToolButton* button : {Bt_Edit, Bt_Ajout, Bt_Del})
        button->setEnabled(!updating);
}

void ListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!Bt_Exit) return;  // still being made
    ListView1->setGeometry(0, 0, width(), height() - kPanelHeight);
    Panel1->setGeometry(0, height() - kPanelHeight, width(), kPanelHeight);
    Bt_OK->move(width() - okFromRight_, 0);
    Bt_Exit->move(Bt_OK->x() + Bt_OK->width() + 11, 0);
}

// The amount columns are as wide as their titles ask, 75 at least; the window grows by what
// they take from the titles' column.
void ListWindow::FitColumns() {
    constexpr int kAmountWidth = 75;
    int taken = 0;
    for (int column = 1; column < model_->columnCount(); ++column) {
        const int wanted = std::max(kAmountWidth, ListView1->header()->sectionSizeHint(column));
        ListView1->header()->resizeSection(column, wanted);
        taken += wanted - kAmountWidth;
    }
    setMinimumWidth(model_->columnCount() == 3 ? 371 + taken : 304 + taken);
}

// On opening, a title longer than its column widens the window, as far as the screen allows.
void ListWindow::WidenToTitles() {
    const int missing =
        static_cast<const QAbstractItemView*>(ListView1)->sizeHintForColumn(0) - ListView1->columnWidth(0);
    if (missing <= 0) return;
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(width() + missing, std::max(screen.width() / 2, minimumWidth())), height());
}

// The row of the current choice, or the first, is selected and current with the focus in the
// list: F2, Enter and the arrows act at once. The saved amounts only put their first row
// current: with a row selected, copying the memory would ask to replace it instead of adding it.
void ListWindow::ShowCurrentRow() {
    if (model_->rowCount() == 0) return;
    const QString current = CurrentTitle();
    int row = 0;
    for (int i = 0; i < model_->rowCount() && !current.isEmpty(); ++i)
        if (model_->index(i, 0).data().toString() == current) row = i;
    const QModelIndex index = model_->index(row, 0);
    const bool select = design_.kind != storage::ListKind::SavedAmounts;
    ListView1->selectionModel()->setCurrentIndex(
        index,
        select ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    ListView1->scrollTo(index);
    ListView1->setFocus(Qt::OtherFocusReason);
}

int ListWindow::SelectedRow() const {
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListWindow::OpenEntryDialog(int row) {
    rowEdit_ = model_->Rows().EditFor(static_cast<std::size_t>(row));
    if (rowEdit_.memoryPrefix) services_.SetMemoryCurrencyPrefix(Text(*rowEdit_.memoryPrefix));
    if (!dialog_) return;
    ShowInFront(dialog_);
    dialog_->FocusFirstBox();  // the box left focused last time would take the title
    dialog_->FormActivate();   // a dialog already in front takes the new row too
}

void ListWindow::Bt_EditClick() {
    if (updating_) return;
    const int row = SelectedRow();
    if (row < 0) return ShowNotice("SelBeforeEdit");
    if (!model_->Rows().Row(static_cast<std::size_t>(row)).locked) OpenEntryDialog(row);
}

void ListWindow::Bt_AjoutClick() {
    if (!updating_) OpenEntryDialog(model_->Insert(services_.CurrencyTitle()));
}

void ListWindow::Bt_DelClick() {
    if (updating_) return;
    const int row = SelectedRow();
    if (row < 0) return ShowNotice("SelBeforeDel");
    const storage::ListRow& listed = model_->Rows().Row(static_cast<std::size_t>(row));
    if (listed.locked) return;
    const QString question = services_.MessageText("WantDelRow") + QStringLiteral(" \"") + Text(listed.title) +
                             QLatin1Char('"') + Text(engine::BuiltInText("QuestionMark"));
    if (services_.ShowMessage(this, platform::MessageKind::Question, question) == platform::MessageAnswer::Ok)
        model_->Delete(row);
}

void ListWindow::Bt_OKClick() {
    const int row = SelectedRow();
    if (row < 0) return ShowNotice(design_.noChoiceKey);
    const auto choice = model_->Rows().Choose(static_cast<std::size_t>(row), platform::DecimalSeparator());
    if (const auto* unreadable = std::get_if<storage::UnreadableRate>(&choice))
        return ShowError(Text(unreadable->message));
    // The list is written first: a list that cannot be written keeps its window, its rows
    // and the current choice, since leaving would lose the rows at the next reload.
    if (!SaveList()) return;
    if (!services_.Choose(choice)) return;
    Chosen(choice);
    Leave();
}

void ListWindow::Bt_ExitClick() {
    if (SaveList()) Leave();
}

void ListWindow::Leave() {
    hide();
    services_.TakeBackActivation();
}

bool ListWindow::SaveList() {
    try {
        const QString path = FilePath();
        if (model_->SaveList(path, platform::DecimalSeparator()) == storage::ListModel::Saved::Merged)
            services_.ShowMessage(this, platform::MessageKind::Notice,
                                  Text(engine::BuiltInText("ListMerged", {Utf8(path)})));
        return true;
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));  // the file on disk keeps its previous content
        return false;
    }
}

void ListWindow::ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    // Ctrl+N inserts too: a laptop may have no Insert key, and a screen reader keeps it.
    if (key == Qt::Key_N && (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) return Bt_AjoutClick();
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

// Keys the focused button leaves: Escape leaves and Enter chooses from anywhere in the window.
void ListWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape: Bt_ExitClick(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: Bt_OKClick(); break;
    default: QWidget::keyPressEvent(event);
    }
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        ListView1KeyDown(key->key(), key->modifiers());
        if (!key->text().isEmpty()) ListView1KeyPress(key->text().at(0));
        // Handled: the window would take them a second time.
        return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape;
    }
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        ListView1DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace devical::ui
