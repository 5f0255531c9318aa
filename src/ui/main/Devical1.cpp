#include "ui/main/Devical1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTimer>

#include "engine/builtin_texts.h"
#include "engine/clipboard.h"
#include "engine/operators.h"
#include "platform/desktop.h"
#include "platform/qt_translations.h"
#include "platform/tray.h"
#include "storage/credit.h"
#include "storage/file_io.h"
#include "ui/common/accessibility.h"
#include "ui/common/click_filter.h"
#include "ui/common/focus_ring.h"
#include "ui/common/icons.h"
#include "ui/common/key_preview.h"
#include "ui/common/qt_text.h"
#include "ui/common/window_placement.h"
#include "ui/main/Devical1_design.h"

namespace devical::ui {

namespace {

// A central bank's rate older than this many working days is said to have aged.
constexpr int kAgedRateDays = 5;

// The one-line credit of the about label when the language file has none.
const char* const kBuiltInCredit = "Devical - Convertisseur euro - 12/98";

}  // namespace

TCalc::TCalc(const QString& programDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      programDirectory_(programDirectory),
      session_(Utf8(programDirectory), [] { return platform::DecimalSeparator(); }) {
    InstallAccessibility();
    // An animated list opens late: digits typed right after "d" would miss it.
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    BuildControls();
    WireControls();
    session_.Tape().OnFailure([this](const std::string& failure) { ShowError(Text(failure)); });
    session_.Observe([this](session::Shown changed) { Show(changed); });
    fullHeight_ = height();
    bottomMargin_ = fullHeight_ - (Button100->y() + Button100->height());
    setWindowIcon(ProgramIcon());
    // Navigation keys would move the focus from "=" to the decimals list: the map steps the
    // list only while it has the focus.
    new KeyPreview(*this, *ButtonEgal,
                   {[this](int key, Qt::KeyboardModifiers modifiers) { FormKeyDown(key, modifiers); },
                    [this](QChar character) { FormKeyPress(character); }});
    new FocusRing(*this);
    FormCreate();
    ShowStoredSettings();
    ShowBoxUnderEntryLook();
}

// The labels hold the stored titles and rates from the first frame on, not the design's
// placeholders; the activation step then applies the settings whole and reports problems.
void TCalc::ShowStoredSettings() {
    try {
        session_.TakeShownSettings();
        ButtonDec->setText(QString(QLatin1Char(session_.Context().decimalSeparator)));
    } catch (const storage::FileError&) {  // the activation step says why
    }
}

// The notification area's icon costs blocking round trips to the desktop: it comes once the
// first frame is on screen (or at once for a start hidden in the tray).
void TCalc::ShowTrayIcon() {
    if (tray_) return;
    tray_ = new platform::TrayIcon(ProgramIcon(), this);
    tray_->SetExitText(Text(engine::BuiltInText("Exit")));
    connect(tray_, &platform::TrayIcon::showRequested, this, &TCalc::Devical1Click);
    connect(tray_, &platform::TrayIcon::exitRequested, this, &TCalc::Bt_CloseClick);
}

void TCalc::StartHidden() { HideToTray(); }

void TCalc::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!tray_ && !trayQueued_) {
        trayQueued_ = true;
        QTimer::singleShot(0, this, &TCalc::ShowTrayIcon);
    }
}

TCalc::~TCalc() = default;

QString TCalc::FilePath(const char* name) const {
    return Text(storage::FindFileNoCase(Utf8(programDirectory_), name).string());
}

// The window follows the session's notice of the change; what is left is the clipboard and
// any message.
bool TCalc::Choose(const storage::RowChoice& choice) {
    const session::ConverterSession::Choice chosen = session_.Choose(choice);
    if (Reported(chosen.failure)) return false;
    ShowOutcome(chosen.outcome);
    choiceSpeech_ = ChoiceSpeech(choice);  // said as the window comes back
    return true;
}

bool TCalc::TakeDailyRatesTurn() { return session_.TakeDailyRatesTurn(session::LocalToday()); }

bool TCalc::StoreTitle(storage::TitleTarget target, const std::string& title) {
    return !Reported(session_.StoreTitle(target, title));
}

// A write that failed is shown (the file stays whole); true when there was one.
bool TCalc::Reported(const std::optional<std::string>& failure) {
    if (failure) ShowError(Text(*failure));
    return failure.has_value();
}

std::optional<storage::LanguageFile> TCalc::OpenLanguageFile() {
    try {
        return storage::LanguageFile(Utf8(FilePath("DEVICAL.LAN")));
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
        return std::nullopt;
    }
}

// The keys are wired as they are made; these are the other controls.
void TCalc::WireControls() {
    const std::pair<QAbstractButton*, void (TCalc::*)()> buttons[] = {{Bt_Copy, &TCalc::Bt_CopyClick},
                                                                      {Bt_Ecart, &TCalc::Bt_EcartClick},
                                                                      {Bt_Close, &TCalc::Bt_CloseClick},
                                                                      {Bt_Langue, &TCalc::Bt_LangueClick},
                                                                      {Bt_Tape, &TCalc::Bt_TapeClick}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, handler);
    for (const auto& [name, handler] : kClickables)
        OnClick(findChild<QWidget*>(QLatin1String(name)), [this, handler = handler] { (this->*handler)(); });
    connect(Nb_Dec, &QComboBox::activated, this, &TCalc::Nb_DecChange);
    connect(Bar_Reduc, &QSlider::valueChanged, this, &TCalc::Bar_ReducChange);
}

// ---- Creation and activation -------------------------------------------------------

void TCalc::FormCreate() {
    const auto lan = OpenLanguageFile();
    if (!lan) return;
    auto text = [&lan](const char* section, const char* key, const char* defaultText = "") {
        return Text(lan->Text(section, key, defaultText));
    };
    installedLanguage_ = Text(lan->InstalledLanguage());
    ApplyBuiltInTexts();
    Lst_Memory->setText(text("Main_Face", "Lst_Memory", "&Memory"));
    Bt_Info->setText(text("Main_Face", "Bt_Info", kBuiltInCredit));
    Lib_Dec->setText(text("Main_Face", "Lib_Dec"));
    rateText1_ = text("Main_Face", "Lib_Rate1");
    rateText2_ = text("Main_Face", "Lib_Rate2");
    rateText2One_ = text("Main_Face", "Lib_Rate2One", engine::BuiltInText("Lib_Rate2One").c_str());

    for (const auto& [name, key] : kHints)
        findChild<QWidget*>(QLatin1String(name))->setToolTip(text("Main_Tips", key));
    rateHint_ = text("Main_Tips", "Lib_Rate");
    ButtonRA->setToolTip(text("Main_Tips", "Bt_BackSpace", "BackSpace"));
    for (const char* name : kPictures) {
        QWidget* picture = findChild<QWidget*>(QLatin1String(name));
        if (!picture->toolTip().isEmpty()) picture->setAccessibleName(picture->toolTip());
    }
    auto spoken = [&](const char* key) { return text("Main_Names", key, engine::BuiltInText(key).c_str()); };
    for (const char* name : kSpokenNames)
        findChild<QWidget*>(QLatin1String(name))->setAccessibleName(spoken(name));
    underEntryText_ = spoken("UnderEntry");
    // "x" in the decimals list means no rounding: said so, the caption staying "x".
    Nb_Dec->setItemData(Nb_Dec->findText(QStringLiteral("x")), spoken("NoRounding"), Qt::AccessibleTextRole);

    session_.UseMessages(lan->Catalogue());
    platform::FollowInterfaceLanguage(installedLanguage_);
}

// The program's own texts, which no language file holds, speak the set's language from here on.
void TCalc::ApplyBuiltInTexts() {
    engine::SetBuiltInLanguage(Utf8(installedLanguage_));
    auto builtIn = [](const char* key) { return Text(engine::BuiltInText(key)); };
    Nb_Dec->setAccessibleName(builtIn("Decimals"));
    Lib_Euro->setText(builtIn("Euros"));
    Lib_MemEuro->setToolTip(builtIn("Euros"));
    Label1->setToolTip(builtIn("ResetHint"));
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setToolTip(Text(engine::BuiltInText("BoxHint", {std::to_string(i + 1)})));
    if (tray_) tray_->SetExitText(builtIn("Exit"));
}

void TCalc::FormActivate() {
    if (activating_) return;  // a message box of this step gives the activation back
    activating_ = true;
    try {
        const session::ConverterSession::Activation activation = session_.Activate();
        ButtonDec->setText(QString(QLatin1Char(session_.Context().decimalSeparator)));  // the key types it
        ShowOutcome(activation.outcome);
        FocusEquals();
        if (choiceSpeech_.isEmpty()) {
            SpeakConversion();
        } else {
            Say(std::exchange(choiceSpeech_, {}));
        }
        if (QFileInfo::exists(FilePath("Install.Oui"))) emit languageDialogRequested();
        // An unusable stored value was replaced by its default; say which one, and where.
        for (const std::string& problem : activation.problems)
            ShowError(Text(problem));
        // What a killed writer's unfinished change left to the user (a file kept, a journal set aside).
        for (const std::string& notice : storage::TakeStorageNotices())
            ShowError(Text(notice));
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
    }
    activating_ = false;
}

// The labels that show the settings: titles, tax, currency and rate, decimals.
void TCalc::ShowSettings() {
    const engine::ConverterState& state = session_.State();
    const engine::ConverterContext& context = session_.Context();
    const char sep = context.decimalSeparator;
    Lib_HT->setText(Text(context.netCaption));
    Lib_TTC->setText(Text(context.grossCaption));
    // The title may be cut to fit, never the rate after it.
    Lib_Taxe->SetText(Text(context.taxTitle), Text(session::TaxRateSuffix(state.TaxRate, sep)));
    Lib_Cur->setText(CurrencyTitle());
    Lib_Rate->setText(RateText());
    Lib_MemCur->setToolTip(CurrencyTitle());
    ShowRateDate();
    Nb_Dec->setCurrentText(Text(state.Decimals));
    Lib_NbrDec->setText(Text(state.Decimals));
    NameAmountBoxes();
}

// "1 Euro = 1 unit", "1 Euro = 6,55957 units".
QString TCalc::RateText() const {
    const engine::Amount rate = session_.State().CurrencyRate;
    const QString unit = rate == 1 ? rateText2One_ : rateText2_;
    return rateText1_ + QLatin1Char(' ') + Text(engine::AmountText(rate, session_.Context().decimalSeparator)) +
           QLatin1Char(' ') + unit;
}

// A rate taken from the central bank says of which day it is, and when it has aged.
void TCalc::ShowRateDate() {
    QString hint = rateHint_;
    const QString iso = Text(session_.FloatingRateDate());
    if (!iso.isEmpty()) {
        hint += QLatin1Char('\n') + Text(Messages().MessageText("RatesDate")).arg(ShownDate(Utf8(iso)));
        const auto today = session::LocalToday();
        if (session::WorkingDaysSince(Utf8(iso), today) > kAgedRateDays)
            hint += QStringLiteral(", ") + Text(Messages().MessageText("RatesOld"));
    }
    Lib_Rate->setToolTip(hint);
    Lib_Cur->setToolTip(hint);
}

// Each box is known to a screen reader by its line and its column: "Montant HT, Euros".
void TCalc::NameAmountBoxes() {
    const QString lines[] = {Lib_HT->text(), Text(session_.Context().taxTitle), Lib_TTC->text()};
    const QString columns[] = {Lib_Cur->text(), Lib_Euro->text()};
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setAccessibleName(lines[i / 2] + QStringLiteral(", ") + columns[i % 2]);
    Lib_MemCur->setAccessibleName(Lib_Memory->text() + QStringLiteral(", ") + columns[0]);
    Lib_MemEuro->setAccessibleName(Lib_Memory->text() + QStringLiteral(", ") + columns[1]);
    // A screen reader finds no value in the closed list: its label carries the count.
    Lib_Dec->setAccessibleName(Lib_Dec->text() + QStringLiteral(", ") + Lib_NbrDec->text());
}

void TCalc::TakeBackActivation() {
    if (!isVisible()) return;  // hidden in the tray: the next showing activates it
    if (isActiveWindow()) {
        FormActivate();  // the other window never took the activation away
    } else {
        raise();
        activateWindow();
    }
}

void TCalc::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A minimised window is not in use, though some platforms make it active: its activation
    // step waits for it to be restored.
    if (event->type() == QEvent::ActivationChange) {
        if (messageBoxReturn_.IsNewActivation(*this) && !isMinimized()) FormActivate();
    } else if (event->type() == QEvent::WindowStateChange && !isMinimized() && isActiveWindow() &&
               (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized)) {
        FormActivate();
    }
}

void TCalc::closeEvent(QCloseEvent* event) {
    event->ignore();  // closing by the frame only puts the window out of sight
    HideToTray();
}

void TCalc::HideToTray() {
    ShowTrayIcon();
    // Without a tray nothing would bring a hidden window back: it waits on the taskbar, until
    // a notification area comes.
    if (tray_->LookForTray()) {
        hide();
    } else {
        showMinimized();
    }
}

// ---- Showing the state ---------------------------------------------------------------

void TCalc::Show(session::Shown changed) {
    using session::Has, session::Shown;
    if (Has(changed, Shown::Settings)) ShowSettings();
    if (Has(changed, Shown::Memory)) ShowMemory();
    if (Has(changed, Shown::Layout)) ShowBoxUnderEntryLook();
    if (Has(changed, Shown::Boxes)) ShowBoxes();
    if (Has(changed, Shown::ListFiles)) emit listFilesChanged();
}

void TCalc::ShowBoxes() {
    const engine::ConverterState& state = State();
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->SetTyping(static_cast<int>(i) + 1 == state.BoxUnderEntry && !state.NewEntry);
        const QString text = Text(state.Boxes[i]);
        if (boxes_[i]->text() != text) conversionUnsaid_ = true;
        boxes_[i]->setText(text);
    }
}

void TCalc::ShowOutcome(const engine::EngineOutcome& outcome) {
    if (outcome.clipboardText) platform::SetClipboardText(Text(*outcome.clipboardText));
    for (const std::string& message : outcome.messages)
        ShowError(Text(message));
}

// The box under entry stands out, with its row and column labels; the window has the
// height of its size level.
void TCalc::ShowBoxUnderEntryLook() {
    const int entry = State().BoxUnderEntry;
    if (entry != shownEntry_) conversionUnsaid_ = true;
    shownEntry_ = entry;
    for (int box = 1; box <= 6; ++box) {
        ShowAsUnderEntry(boxes_[static_cast<std::size_t>(box - 1)], box == entry);
        SetUnderEntry(boxes_[static_cast<std::size_t>(box - 1)], box == entry, underEntryText_);
    }
    TintNavy(Lib_HT, engine::RowOf(entry) == 1);
    TintNavy(Lib_Taxe, engine::RowOf(entry) == 2);
    TintNavy(Lib_TTC, engine::RowOf(entry) == 3);
    TintNavy(Lib_Cur, engine::IsNationalBox(entry));
    TintNavy(Lib_Euro, !engine::IsNationalBox(entry));
    const QSignalBlocker quiet(Bar_Reduc);
    Bar_Reduc->setValue(State().SizeLevel);
    const int heights[] = {fullHeight_, digitButtons_[7]->y() + bottomMargin_ - 2, boxes_[2]->y() + bottomMargin_ - 2};
    setFixedHeight(heights[State().SizeLevel - 1]);
}

void TCalc::ShowError(const QString& text) { platform::ShowMessage(this, platform::MessageKind::Error, text); }

// ---- Boxes and keypad --------------------------------------------------------------

// Every key that edits the entry shows the boxes again and gives the focus back to "=".
void TCalc::EditEntry(const std::function<void(engine::ConverterState&, char)>& edit) {
    session_.EditEntry(edit);
    FocusEquals();
}

void TCalc::OperatorClick(engine::OperatorKey key) {
    ShowOutcome(session_.Operate(key));
    FocusEquals();
    SpeakConversion();
}

void TCalc::BoxClick(int row, int column) {
    const int level = State().SizeLevel;
    const engine::EngineOutcome outcome = session_.ChooseBox(row, column);
    if (State().SizeLevel != level) FocusEquals();  // the window grew to show the row
    ShowOutcome(outcome);
    SpeakConversion();
}

// ---- Size levels, showing ------------------------------------------------------------

void TCalc::Bar_ReducChange() {
    ShowOutcome(session_.ChooseSizeLevel(Bar_Reduc->value()));
    FocusEquals();
}

void TCalc::Devical1Click() { ShowInFront(this); }

// ---- Clipboard, decimals, deviation ---------------------------------------------------

void TCalc::Bt_CopyClick() {
    platform::SetClipboardText(Text(engine::CopyTable(State())));
    FocusEquals();
}

void TCalc::PasteAmount() {
    const auto outcome = session_.Paste(Utf8(platform::ClipboardText()));
    if (!outcome) return;  // not a number: nothing happens, nothing is said
    ShowOutcome(*outcome);
    FocusEquals();
}

void TCalc::Nb_DecChange() {
    ApplyDecimals();
    FocusEquals();
}

void TCalc::ApplyDecimals() {
    ShowOutcome(session_.SetDecimals(Utf8(Nb_Dec->currentText())));
    SpeakConversion();
}

// ---- Help documents and the hidden credit of Ctrl+Shift+F1 ---------------------------

void TCalc::Bt_ManuelClick() {
    OpenHelpDocument("ManualFile");
    FocusEquals();
}

void TCalc::Bt_CodeClick() { OpenHelpDocument("KeysFile"); }

// The document in the installed language, else the French one. A missing document changes
// nothing, as any launch that fails; something else in its place (a FIFO would hold the
// desktop's handler) is named.
void TCalc::OpenHelpDocument(const char* key) {
    QString path = FilePath(engine::BuiltInText(key).c_str());
    if (!QFileInfo::exists(path)) path = FilePath(engine::BuiltInTextIn(engine::BuiltInLanguage::French, key).c_str());
    if (!platform::OpenDocument(path) && QFileInfo::exists(path))
        ShowError(Text(engine::BuiltInText("CannotOpen")) + QLatin1Char(' ') + path);
}

void TCalc::ShowCredits() { platform::ShowMessage(this, platform::MessageKind::Notice, Text(storage::HiddenCredit())); }

void TCalc::Bt_EcartClick() {
    if (!State().DeviationReport.empty())
        platform::ShowMessage(this, platform::MessageKind::Notice, Text(State().DeviationReport));
    FocusEquals();
}

}  // namespace devical::ui
