#include "ui/tape/Tape1.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <algorithm>

#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "storage/file_io.h"
#include "ui/common/accessibility.h"
#include "ui/common/amount_elision.h"
#include "ui/common/focus_ring.h"
#include "ui/common/icons.h"
#include "ui/common/panel_button.h"
#include "ui/common/placed.h"
#include "ui/common/qt_text.h"
#include "ui/common/report_view.h"
#include "ui/common/window_placement.h"
#include "ui/tape/print_job.h"

namespace devical::ui {

namespace {

constexpr int kWidth = 700;
constexpr int kMinimumWidth = 360;
constexpr int kLineColumn = static_cast<int>(engine::kTapeLineColumn);
constexpr int kListHeight = 300;
constexpr int kPanelHeight = 30;
// Amount, key, line, currency, converted, currency, time: what each column holds at its widest
// in the usual run of figures (the line's column stretches for a setting's sentence).
const char* const kWidestCells[engine::kTapeColumns] = {"-1 234 567,000", "M+",  "Décimales : 3",      "XXX",
                                                        "-1 234 567,000", "EUR", "0000-00-00 00:00:00"};
// What the calculator types: digits, separators and operators.
constexpr std::string_view kCalculatorCharacters = "0123456789,.+-*x/%=";

Qt::KeyboardModifiers Held(const QKeyEvent& key) {
    return key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

// A setting's widest sentences, as the tape prints them: a floating rate with its bank's day,
// a tax rate, the decimals.
std::vector<engine::TapeLine> WidestSettingLines() {
    return engine::SettingLines({}, {"XXX", 88888.88888L, "2000-12-31", 88.888L, "3"}, ',');
}

bool IsCalculatorKey(const QKeyEvent& key) {
    if (Held(key) & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (key.key() == Qt::Key_Backspace) return true;
    return key.text().size() == 1 && key.text().at(0).unicode() < 0x80 &&
           kCalculatorCharacters.find(static_cast<char>(key.text().at(0).unicode())) != std::string_view::npos;
}

// An amount too wide for its column keeps its size: its last digits give way, never its
// exponent ("-1,2345…E19", not "-1,2345…", which reads as about -1).
class AmountCells : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        static const QRegularExpression kFigure(QStringLiteral("^-?[0-9]+([.,][0-9]*)?(E[-+]?[0-9]+)?$"));
        // A size asked for (no room yet) is the whole figure's.
        if (option->rect.width() <= 0 || !kFigure.match(option->text).hasMatch()) return;
        const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
        const int room =
            option->rect.width() - 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, option, option->widget) + 1);
        const QFontMetrics& metrics = option->fontMetrics;
        option->text = ElideAmount(
            option->text, [&metrics, room](const QString& text) { return metrics.horizontalAdvance(text) <= room; },
            false, QChar::fromLatin1(platform::DecimalSeparator()));
    }
};

}  // namespace

TTape::TTape(Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), model_(new TapeModel(services.Tape(), this)) {
    setObjectName(QStringLiteral("Tape"));
    setWindowTitle(Text(engine::BuiltInText("Tape_Face/Title")));
    setMinimumSize(kMinimumWidth, 160);
    resize(kWidth, kListHeight + kPanelHeight);

    // Lines are picked for copying as in a file list; the line's column stretches for a setting's sentence.
    ListView1 =
        MakeReportView(this, {0, 0, kWidth, kListHeight}, model_, kLineColumn, QAbstractItemView::ExtendedSelection);
    for (const int amounts : {0, 4})
        ListView1->setItemDelegateForColumn(amounts, new AmountCells(ListView1));
    connect(ListView1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        // Shift and Ctrl pick lines to copy; a plain click takes the amount.
        if (QGuiApplication::keyboardModifiers() == Qt::NoModifier) RecallRow(index.row());
    });
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TTape::FollowNewLine);

    Panel1 = Placed(new QWidget(this), "Panel1", {0, kListHeight, kWidth, kPanelHeight});
    Bt_Copy = PanelButton("Bt_Copy", 0, CopyIcon(PanelInk(*Panel1)), "Copy");
    Bt_Save = PanelButton("Bt_Save", 41, style()->standardIcon(QStyle::SP_DialogSaveButton), "Save");
    Bt_Clear = PanelButton("Bt_Clear", 82, style()->standardIcon(QStyle::SP_TrashIcon), "Clear");
    Bt_Print = PanelButton("Bt_Print", 123, PrintIcon(PanelInk(*Panel1)), "Print");
    Bt_Pdf = PanelButton("Bt_Pdf", 164, PdfIcon(PanelInk(*Panel1)), "Pdf");
    Bt_Exit = PanelButton("Bt_Exit", kWidth - 30, CloseIcon(PanelInk(*Panel1)), "Cancel");
    connect(Bt_Copy, &QToolButton::clicked, this, &TTape::Bt_CopyClick);
    connect(Bt_Save, &QToolButton::clicked, this, &TTape::Bt_SaveClick);
    connect(Bt_Clear, &QToolButton::clicked, this, &TTape::Bt_ClearClick);
    connect(Bt_Print, &QToolButton::clicked, this, &TTape::Bt_PrintClick);
    connect(Bt_Pdf, &QToolButton::clicked, this, &TTape::Bt_PdfClick);
    connect(Bt_Exit, &QToolButton::clicked, this, &TTape::Bt_ExitClick);
    new FocusRing(*this);
}

QToolButton* TTape::PanelButton(const char* name, int left, const QIcon& picture, const char* tipsKey) {
    QToolButton* button = MakePanelButton(Panel1, name, left, picture);
    tippedButtons_.emplace_back(button, tipsKey);
    return button;
}

void TTape::FormCreate() {
    const auto lan = services_.OpenLanguageFile();
    if (!lan) return;
    // A language file older than the tape gives the built-in texts in its language.
    auto text = [&lan](const char* section, const std::string& key) { return lan->Text(section, key); };
    setWindowTitle(Text(text("Tape_Face", "Title")));
    ListView1->setAccessibleName(windowTitle());
    engine::TapeCells titles;
    for (std::size_t column = 0; column < titles.size(); ++column)
        titles[column] = text("Tape_Face", "Column" + std::to_string(column + 1));
    model_->SetWords(
        {text("Tape_Face", "Net"), text("Tape_Face", "Tax"), text("Tape_Face", "Gross"), text("Tape_Face", "Currency"),
         text("Tape_Face", "TaxRate"), text("Tape_Face", "Decimals"), text("Tape_Face", "RatesDay")},
        titles);
    // Each column as wide as its title or its widest usual cell asks.
    QHeaderView* header = ListView1->header();
    const QFontMetrics cells(ListView1->font());
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int cell = cells.horizontalAdvance(QString::fromUtf8(kWidestCells[column])) + 12;
        header->resizeSection(column, std::max(cell, header->sectionSizeHint(column)));
    }
    FitLineColumn();
    textFiles_ = Text(text("Tape_Face", "TextFiles"));
    csvFiles_ = Text(text("Tape_Face", "CsvFiles"));
    pdfFiles_ = Text(text("Tape_Face", "PdfFiles"));
    pageNumber_ = Text(text("Tape_Face", "Page"));
    for (const auto& [button, key] : tippedButtons_) {
        const QString hint = Text(text("Tape_Tips", key));
        button->setToolTip(hint);
        button->setAccessibleName(hint);  // a picture is known by its hint
    }
}

// The line's column, which stretches, holds a setting's sentence whole ("Währung: USD, 1 € =
// 1,0842 (EZB vom 04.12.2026)"): the window is never narrower than the other columns and that
// sentence ask.
void TTape::FitLineColumn() {
    const QFontMetrics cells(ListView1->font());
    int sentence = 0;
    for (const engine::TapeLine& widest : WidestSettingLines())
        sentence = std::max(sentence,
                            cells.horizontalAdvance(Text(engine::CellsOf(widest, model_->Words())[kLineColumn])) + 12);
    int needed = sentence + 2 * ListView1->frameWidth() + ListView1->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < model_->columnCount(); ++column)
        if (column != kLineColumn) needed += ListView1->header()->sectionSize(column);
    setMinimumWidth(std::max(kMinimumWidth, needed));
    if (width() < needed) resize(needed, height());
}

void TTape::ShowTape() {
    ShowInFront(this);
    // The newest line current, the list focused: Enter and the arrows act at once.
    ListView1->setFocus(Qt::OtherFocusReason);
    const int last = model_->rowCount() - 1;
    if (last >= 0) MakeCurrent(last);
}

void TTape::MakeCurrent(int row) {
    ListView1->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->scrollTo(model_->index(row, 0));
}

void TTape::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ListView1->setGeometry(0, 0, width(), height() - kPanelHeight);
    Panel1->setGeometry(0, height() - kPanelHeight, width(), kPanelHeight);
    Bt_Exit->move(width() - Bt_Exit->width(), 0);
}

// A new line: followed when the newest was current, the roll reading on (a screen reader
// reads the line as it becomes current); a line being read further up keeps its place, and
// the new one is said aloud while the tape is the window in use.
void TTape::FollowNewLine() {
    // Out of sight the tape keeps still: a screen reader would take its list for the focus.
    // Shown again, it opens on its newest line.
    if (!isVisible()) return;
    const int last = model_->rowCount() - 1;
    const QModelIndex current = ListView1->currentIndex();
    if (!current.isValid() || current.row() == last - 1) {
        MakeCurrent(last);
    } else if (isActiveWindow()) {
        Announce(this, model_->Spoken(last));
    }
}

void TTape::RecallRow(int row) {
    if (row >= 0 && row < model_->rowCount()) services_.RecallFromTape(static_cast<std::size_t>(row));
}

std::vector<int> TTape::PickedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : ListView1->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TTape::CopySelection() {
    std::vector<int> rows = PickedRows();
    if (rows.empty() && ListView1->currentIndex().isValid()) rows.push_back(ListView1->currentIndex().row());
    if (rows.empty()) return;
    platform::SetClipboardText(Text(engine::TapeTable(model_->Lines(rows), model_->Words())));
}

void TTape::Bt_CopyClick() {
    if (model_->rowCount() > 0) platform::SetClipboardText(Text(engine::TapeTable(model_->Lines(), model_->Words())));
}

QString TTape::AskWhereToSave(const QToolButton& button, const QStringList& filters, const char* dialogName,
                              QString& chosenFilter) {
    QString title = button.toolTip();
    title.remove(QRegularExpression(QStringLiteral(" \\(.*\\)$")));  // the hint's shortcut
    QFileDialog dialog(this, title);
    dialog.setObjectName(QString::fromLatin1(dialogName));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

void TTape::Bt_SaveClick() {
    QString filter;
    QString path = AskWhereToSave(*Bt_Save, {textFiles_, csvFiles_}, "SaveDialog", filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == csvFiles_ ? QStringLiteral(".csv") : QStringLiteral(".txt");
    SaveTo(path);
}

bool TTape::SaveTo(const QString& path) {
    const std::vector<engine::TapeLine> lines = model_->Lines();
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    return WriteFile(path, csv ? engine::TapeCsv(lines, model_->Words(), model_->Titles(), platform::DecimalSeparator())
                               : engine::TapeText(lines, model_->Words()));
}

bool TTape::WriteFile(const QString& path, const std::string& bytes) {
    try {
        storage::ReplaceFileContents(Utf8(path), bytes);
        return true;
    } catch (const storage::FileError& error) {
        services_.ShowMessage(this, platform::MessageKind::Error, Text(error.what()));
        return false;
    }
}

// The heading says what is in force as the tape is printed; the time is the tape's clock's.
TapePrintout TTape::Printout() const {
    TapePrintout printout;
    printout.title = QStringLiteral("Devical – ") + windowTitle();
    const std::string now = services_.Tape().Now();  // "2026-12-08 10:15:02"
    printout.printedAt = Text(engine::ShownDate(now.substr(0, 10)) + now.substr(10, 6));
    for (const std::string& sentence :
         engine::TapeHeading(services_.TapeSettings(), model_->Words(), platform::DecimalSeparator()))
        printout.heading << Text(sentence);
    printout.titles = model_->Titles();
    // One line picked is only the current one: the whole tape is meant.
    std::vector<int> rows = PickedRows();
    if (rows.size() < 2) rows.clear();
    printout.lines = model_->Lines(rows);
    printout.words = model_->Words();
    printout.pageNumber = pageNumber_;
    return printout;
}

void TTape::Bt_PrintClick() {
    if (model_->rowCount() == 0) return;
    const TapePrintout printout = Printout();
    const PrintJob job{this, printout.title, LocalePaper(QLocale()),
                       [&printout](QPagedPaintDevice& device) { return PaintTapePages(device, printout) > 0; }};
    QString reason;
    if (PrintWithDialog(job, reason) == PrintOutcome::Failed) ShowPrintFailure(reason);
}

void TTape::ShowPrintFailure(const QString& reason) {
    services_.ShowMessage(this, platform::MessageKind::Error,
                          services_.MessageText("PrintFailed").arg(reason).trimmed());
}

void TTape::Bt_PdfClick() {
    if (model_->rowCount() == 0) return;
    QString filter;
    QString path = AskWhereToSave(*Bt_Pdf, {pdfFiles_}, "PdfDialog", filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    SavePdf(path);
}

bool TTape::SavePdf(const QString& path) {
    const QByteArray pdf = TapePdf(Printout(), LocalePaper(QLocale()));
    if (pdf.isEmpty()) {
        ShowPrintFailure({});
        return false;
    }
    return WriteFile(path, pdf.toStdString());
}

void TTape::Bt_ClearClick() {
    if (model_->rowCount() == 0) return;
    if (services_.ShowMessage(this, platform::MessageKind::Question, services_.MessageText("TapeClear")) !=
        platform::MessageAnswer::Ok)
        return;
    if (auto failure = services_.Tape().Clear())
        services_.ShowMessage(this, platform::MessageKind::Error, Text(*failure));
}

// The window's own keys, wherever the focus is in it.
bool TTape::TakeShortcut(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = Held(key);
    if (key.key() == Qt::Key_Escape && held == Qt::NoModifier) {
        Bt_ExitClick();
    } else if (key.key() == Qt::Key_C && held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        Bt_CopyClick();
    } else if (key.key() == Qt::Key_C && held == Qt::ControlModifier) {
        CopySelection();
    } else if (key.key() == Qt::Key_S && held == Qt::ControlModifier) {
        Bt_SaveClick();
    } else if (key.key() == Qt::Key_P && held == Qt::ControlModifier) {
        Bt_PrintClick();
    } else if (key.key() == Qt::Key_P && held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        Bt_PdfClick();
    } else if (key.key() == Qt::Key_Delete && held == Qt::ControlModifier) {
        Bt_ClearClick();
    } else {
        return false;
    }
    return true;
}

void TTape::keyPressEvent(QKeyEvent* event) {
    if (!TakeShortcut(*event)) QWidget::keyPressEvent(event);
}

// In the list, Enter takes the current line's amount and the calculator's keys go to it.
bool TTape::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ListView1 || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (TakeShortcut(key)) return true;
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && Held(key) == Qt::NoModifier) {
        RecallRow(ListView1->currentIndex().row());
        return true;
    }
    if (IsCalculatorKey(key)) {
        services_.TypeIntoCalculator(key.key(), key.modifiers(), key.text());
        return true;
    }
    return false;
}

}  // namespace devical::ui
