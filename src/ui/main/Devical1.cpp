#include "ui/main/Devical1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QWindow>

#include "engine/entry.h"
#include "engine/operators.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/qt_translations.h"
#include "platform/tray.h"
#include "storage/file_io.h"
#include "storage/language_file.h"
#include "ui/main/click_filter.h"
#include "ui/main/icons.h"
#include "ui/main/window_placement.h"

namespace devical::ui {

namespace {

const QColor kNavy(0, 0, 128);

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Utf8(const QString& text) { return text.toStdString(); }

bool IsNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

// The one-line credit of the about label when the language file has none.
const char* const kBuiltInCredit = "Devical - Convertisseur euro - 12/98";

}  // namespace

TCalc::TCalc(const QString& programDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      programDirectory_(programDirectory) {
    BuildControls();
    WireControls();
    MeasureSizeLevels();
    setWindowIcon(ProgramIcon());
    tray_ = std::make_unique<platform::TrayIcon>(ProgramIcon());
    connect(tray_.get(), &platform::TrayIcon::showRequested, this, &TCalc::Devical1Click);
    connect(tray_.get(), &platform::TrayIcon::exitRequested, this, &TCalc::Bt_CloseClick);
    qApp->installEventFilter(this);
    FormCreate();
    ShowBoxUnderEntryLook();
}

TCalc::~TCalc() = default;

QString TCalc::FilePath(const char* name) const {
    return QString::fromStdString(storage::FindFileNoCase(Utf8(programDirectory_), name).string());
}

storage::SettingsFile TCalc::Settings() const { return storage::SettingsFile(Utf8(FilePath("DEVICAL.INI"))); }

bool TCalc::StoreSettings(const std::function<void(const storage::SettingsFile&)>& write) {
    try {
        write(Settings());
        return true;
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
        return false;
    }
}

std::optional<storage::LanguageFile> TCalc::OpenLanguageFile() {
    try {
        return storage::LanguageFile(Utf8(FilePath("DEVICAL.LAN")));
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
        return std::nullopt;
    }
}

QString TCalc::CurrencyTitle() const { return Lib_Cur->text(); }

void TCalc::WireControls() {
    const std::array<void (TCalc::*)(), 10> digitHandlers = {
        &TCalc::Button0Click, &TCalc::Button1Click, &TCalc::Button2Click, &TCalc::Button3Click, &TCalc::Button4Click,
        &TCalc::Button5Click, &TCalc::Button6Click, &TCalc::Button7Click, &TCalc::Button8Click, &TCalc::Button9Click};
    for (std::size_t i = 0; i < digitButtons_.size(); ++i)
        connect(digitButtons_[i], &QPushButton::clicked, this, digitHandlers[i]);
    const std::pair<QAbstractButton*, void (TCalc::*)()> buttons[] = {
        {ButtonDec, &TCalc::ButtonDecClick},     {Button100, &TCalc::Button100Click},
        {Button1000, &TCalc::Button1000Click},   {ButtonRA, &TCalc::ButtonRAClick},
        {ButtonCE, &TCalc::ButtonCEClick},       {ButtonC, &TCalc::ButtonCClick},
        {ButtonDiv, &TCalc::ButtonDivClick},     {ButtonMul, &TCalc::ButtonMulClick},
        {ButtonPlus, &TCalc::ButtonPlusClick},   {ButtonMoins, &TCalc::ButtonMoinsClick},
        {Bt_Pourc, &TCalc::Bt_PourcClick},       {ButtonEgal, &TCalc::ButtonEgalClick},
        {Bt_Copy, &TCalc::Bt_CopyClick},         {Bt_Ecart, &TCalc::Bt_EcartClick},
        {Bt_Close, &TCalc::Bt_CloseClick},       {Bt_Langue, &TCalc::Bt_LangueClick},
        {ButtonMPlus, &TCalc::ButtonMPlusClick}, {ButtonMMoins, &TCalc::ButtonMMoinsClick},
        {ButtonMR, &TCalc::ButtonMRClick},       {ButtonMC, &TCalc::ButtonMCClick},
        {Lst_Memory, &TCalc::Lst_MemoryClick},
    };
    for (const auto& [button, handler] : buttons) connect(button, &QAbstractButton::clicked, this, handler);

    const std::pair<QWidget*, void (TCalc::*)()> clickables[] = {
        {boxes_[0], &TCalc::Cur_HTClick},   {boxes_[1], &TCalc::Euro_HTClick},  {boxes_[2], &TCalc::Cur_TaxeClick},
        {boxes_[3], &TCalc::Euro_TaxeClick}, {boxes_[4], &TCalc::Cur_TTCClick},  {boxes_[5], &TCalc::Euro_TTCClick},
        {Lib_Rate, &TCalc::Lib_RateClick},  {Lib_Cur, &TCalc::Lib_CurClick},    {Lib_HT, &TCalc::Lib_HTClick},
        {Lib_Taxe, &TCalc::Lib_TaxeClick},  {Lib_TTC, &TCalc::Lib_TTCClick},    {Lib_Memory, &TCalc::Lib_MemoryClick},
        {Label1, &TCalc::Label1Click},      {Bt_Manuel, &TCalc::Bt_ManuelClick}, {Bt_Code, &TCalc::Bt_CodeClick},
        {Bt_Info, &TCalc::Bt_InfoClick},
    };
    for (const auto& [widget, handler] : clickables) OnClick(widget, [this, handler = handler] { (this->*handler)(); });

    connect(Nb_Dec, &QComboBox::activated, this, &TCalc::Nb_DecChange);
    connect(Bar_Reduc, &QSlider::valueChanged, this, &TCalc::Bar_ReducChange);
}

// ---- Creation and activation -------------------------------------------------------

void TCalc::MeasureSizeLevels() {
    fullHeight_ = height();
    bottomMargin_ = fullHeight_ - (Button100->y() + Button100->height());
}

void TCalc::FormCreate() {
    const auto lan = OpenLanguageFile();
    if (!lan) return;
    auto text = [&lan](const char* section, const char* key, const char* defaultText = "") {
        return Text(lan->Text(section, key, defaultText));
    };
    Lst_Memory->setText(text("Main_Face", "Lst_Memory", "&Memory"));
    Bt_Info->setText(text("Main_Face", "Bt_Info", kBuiltInCredit));
    Lib_Dec->setText(text("Main_Face", "Lib_Dec"));
    rateText1_ = text("Main_Face", "Lib_Rate1");
    rateText2_ = text("Main_Face", "Lib_Rate2");

    const std::pair<const char*, QWidget*> hints[] = {
        {"Bt_Manuel", Bt_Manuel},   {"Lib_Rate", Lib_Rate},     {"Lib_Rate", Lib_Cur},
        {"Lib_HT", Lib_HT},         {"Lib_Taxe", Lib_Taxe},     {"Lib_TTC", Lib_TTC},
        {"Lst_Memory", Lst_Memory}, {"Lib_Memory", Lib_Memory}, {"ButtonMC", ButtonMC},
        {"ButtonMR", ButtonMR},     {"ButtonMPlus", ButtonMPlus}, {"ButtonMMoins", ButtonMMoins},
        {"Bt_Info", Bt_Info},       {"Bt_Code", Bt_Code},       {"Button100", Button100},
        {"Button1000", Button1000}, {"Bt_Copy", Bt_Copy},       {"ButtonCE", ButtonCE},
        {"ButtonC", ButtonC},       {"Bt_Close", Bt_Close},     {"Nb_Dec", Nb_Dec},
        {"Bt_Deviat", Bt_Ecart},    {"Bt_Reduction", Bar_Reduc}, {"Bt_Language", Bt_Langue},
    };
    for (const auto& [key, widget] : hints) widget->setToolTip(text("Main_Tips", key));
    ButtonRA->setToolTip(text("Main_Tips", "Bt_BackSpace", "BackSpace"));
    // Picture controls are known to screen readers by their hint.
    for (QWidget* picture : {static_cast<QWidget*>(Bt_Ecart), static_cast<QWidget*>(Bt_Close),
                             static_cast<QWidget*>(Bt_Copy), static_cast<QWidget*>(Bt_Langue),
                             static_cast<QWidget*>(Bt_Manuel), static_cast<QWidget*>(Bar_Reduc)})
        if (!picture->toolTip().isEmpty()) picture->setAccessibleName(picture->toolTip());

    context_.messages = lan->Catalogue();
    installedLanguage_ = Text(lan->InstalledLanguage());
    platform::FollowInterfaceLanguage(installedLanguage_);
}

void TCalc::FormActivate() {
    if (activating_) return;  // a message box of this step gives the activation back
    activating_ = true;
    const char sep = platform::DecimalSeparator();
    ButtonDec->setText(QString(QLatin1Char(sep)));  // the key types the separator in force
    try {
        const storage::SettingsReading reading = Settings().Read(sep);
        ApplySettings(reading.values, sep);
        // An unusable stored value was replaced by its default; say which one, and where.
        for (const std::string& problem : reading.problems) ShowError(Text(problem));
    } catch (const storage::FileError& error) {
        ShowError(Text(error.what()));
    }
    activating_ = false;
}

void TCalc::ApplySettings(const storage::Settings& settings, char sep) {
    Lib_HT->setText(Text(settings.netTitle));
    Lib_TTC->setText(Text(settings.grossTitle));

    state_.TaxRate = settings.tax.rate;
    // The title may be cut to fit, never the rate after it.
    Lib_Taxe->SetText(Text(settings.tax.title),
                      QStringLiteral(" (") + Text(engine::AmountText(settings.tax.rate, sep)) + QStringLiteral(" %)"));

    Lib_Cur->setText(Text(settings.currency.title));
    state_.CurrencyRate = settings.currency.rate;
    Lib_Rate->setText(rateText1_ + QLatin1Char(' ') + Text(engine::AmountText(settings.currency.rate, sep)) +
                      QLatin1Char(' ') + rateText2_);

    const QString memoryTitle = Text(settings.memory.title);
    Lib_Memory->setText(memoryTitle.mid(4, 100));
    Lb_Dev->setText(memoryTitle.left(3));
    if (memoryReloadFlag_) {
        Lib_MemEuro->setText(Text(settings.memory.euroAmount));
        Lib_MemCur->setText(Text(settings.memory.nationalAmount));
    } else {
        memoryReloadFlag_ = true;  // the title dialog kept the amounts on display once
    }
    Lib_MemCur->setToolTip(Lib_Cur->text());

    state_.Decimals = settings.decimals;
    Nb_Dec->setCurrentText(Text(state_.Decimals));
    Lib_NbrDec->setText(Text(state_.Decimals));

    {
        const QSignalBlocker quiet(Bar_Reduc);
        Bar_Reduc->setValue(settings.sizeLevel);
    }
    Bar_ReducChange();

    const int box = settings.boxUnderEntry;
    if (box >= 1 && box <= 6) SelectBox(engine::RowOf(box), engine::ColumnOf(box));

    if (!firstActivationDone_) {
        ButtonCClick();
        firstActivationDone_ = true;
    }
    if (state_.CurrencyChanged) {
        // Evaluate from the euro box so that the euro amounts stay and the national ones
        // follow the new rate.
        const int before = state_.BoxUnderEntry;
        if (engine::IsNationalBox(before)) SelectBox(engine::RowOf(before), 2);
        Evaluate("=");
        state_.CurrencyChanged = false;
        if (engine::IsNationalBox(before)) SelectBox(engine::RowOf(before), 1);
    }
    if (state_.TaxChanged) {
        Evaluate("=");
        state_.TaxChanged = false;
    }
    FocusEquals();
    if (QFileInfo::exists(FilePath("Install.Oui"))) emit languageDialogRequested();
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
    if (event->type() == QEvent::ActivationChange && messageBoxReturn_.IsNewActivation(*this)) FormActivate();
}

void TCalc::closeEvent(QCloseEvent* event) {
    // Closing by the frame only hides the window; the program stays in the tray.
    event->ignore();
    hide();
}

// ---- Boxes and keypad --------------------------------------------------------------

void TCalc::RefreshContext() {
    context_.decimalSeparator = platform::DecimalSeparator();
    context_.currencyTitle = Utf8(Lib_Cur->text());
    context_.netCaption = Utf8(Lib_HT->text());
    context_.taxCaption = Utf8(Lib_Taxe->text());
    context_.grossCaption = Utf8(Lib_TTC->text());
}

void TCalc::ShowBoxes() {
    for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->setText(Text(state_.Boxes[i]));
}

void TCalc::ShowBoxUnderEntryLook() {
    const QPalette system = QApplication::palette();
    const int entry = state_.BoxUnderEntry;
    for (int box = 1; box <= 6; ++box) {
        // Under entry: bold navy on the window-background colour; the others plain, greyed.
        QLabel* amount = boxes_[static_cast<std::size_t>(box - 1)];
        const bool underEntry = box == entry;
        QFont font = amount->font();
        font.setBold(underEntry);
        amount->setFont(font);
        QPalette palette = system;
        palette.setColor(QPalette::WindowText, underEntry ? kNavy : system.color(QPalette::WindowText));
        palette.setColor(QPalette::Window, system.color(underEntry ? QPalette::Base : QPalette::Button));
        amount->setPalette(palette);
    }
    // The row label and the column label of the box under entry turn navy.
    const auto tint = [&system](QLabel* label, bool navy) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, navy ? kNavy : system.color(QPalette::WindowText));
        label->setPalette(palette);
    };
    tint(Lib_HT, engine::RowOf(entry) == 1);
    tint(Lib_Taxe, engine::RowOf(entry) == 2);
    tint(Lib_TTC, engine::RowOf(entry) == 3);
    tint(Lib_Cur, engine::IsNationalBox(entry));
    tint(Lib_Euro, !engine::IsNationalBox(entry));
}

void TCalc::FocusEquals() { ButtonEgal->setFocus(Qt::OtherFocusReason); }

void TCalc::ShowError(const QString& text) { platform::ShowMessage(this, platform::MessageKind::Error, text); }

// Every key that edits the entry shows the boxes again and gives the focus back to "=".
void TCalc::AfterEntryEdit() {
    ShowBoxes();
    FocusEquals();
}

void TCalc::DigitClick(int digit) {
    engine::EnterDigit(state_, digit, platform::DecimalSeparator());
    AfterEntryEdit();
}

void TCalc::ButtonDecClick() { DigitClick(engine::kSeparatorKey); }

void TCalc::Button100Click() { TypeZeros(2); }

void TCalc::Button1000Click() { TypeZeros(3); }

void TCalc::TypeZeros(int count) {
    for (int i = 0; i < count; ++i) engine::EnterDigit(state_, 0, platform::DecimalSeparator());
    AfterEntryEdit();
}

void TCalc::ButtonRAClick() {
    engine::Backspace(state_);
    AfterEntryEdit();
}

void TCalc::ButtonCEClick() {
    engine::CancelEntry(state_, platform::DecimalSeparator());
    AfterEntryEdit();
}

void TCalc::ButtonCClick() {
    engine::ClearAll(state_);
    AfterEntryEdit();
}

void TCalc::OperatorClick(const char* key) { Evaluate(key); }

void TCalc::Evaluate(const char* key, bool showMessages) {
    RefreshContext();
    const engine::EngineOutcome outcome = engine::ApplyOperator(state_, key, context_);
    ShowBoxes();
    if (outcome.clipboardText) platform::SetClipboardText(Text(*outcome.clipboardText));
    if (showMessages)
        for (const std::string& message : outcome.messages) ShowError(Text(message));
    FocusEquals();
}

void TCalc::SelectBox(int row, int column) {
    const engine::SelectOutcome outcome = engine::SelectBox(state_, row, column);
    if (outcome.enlargedToLevel2) {
        const QSignalBlocker quiet(Bar_Reduc);
        Bar_Reduc->setValue(2);
    }
    if (outcome.enlargedToLevel2) Bar_ReducChange();
    ShowBoxUnderEntryLook();
    StoreSettings([&](const storage::SettingsFile& settings) { settings.WriteBoxUnderEntry(outcome.boxToSave); });
}

// ---- Size levels, showing, ending ---------------------------------------------------

void TCalc::Bar_ReducChange() {
    const int level = Bar_Reduc->value();
    const auto moved = engine::ChangeSizeLevel(state_, level);
    const int heights[] = {fullHeight_, digitButtons_[7]->y() + bottomMargin_ - 2, boxes_[2]->y() + bottomMargin_ - 2};
    setFixedHeight(heights[level - 1]);
    if (moved) ShowBoxUnderEntryLook();
    StoreSettings([&](const storage::SettingsFile& settings) {
        settings.WriteSizeLevel(level);
        if (moved) settings.WriteBoxUnderEntry(moved->boxToSave);
    });
    FocusEquals();
}

void TCalc::Devical1Click() { ShowInFront(this); }

void TCalc::Bt_CloseClick() { emit exitRequested(); }

void TCalc::Bt_LangueClick() { emit languageDialogRequested(); }

// ---- Clipboard, decimals, deviation ---------------------------------------------------

void TCalc::Bt_CopyClick() {
    // One line per amount line, national TAB euro CR LF; the tax and gross lines only when
    // a tax applies.
    QString table;
    const int lines = state_.TaxRate > 0 ? 3 : 1;
    for (int row = 1; row <= lines; ++row)
        table += Text(state_.Box(engine::BoxNumber(row, 1))) + QLatin1Char('\t') +
                 Text(state_.Box(engine::BoxNumber(row, 2))) + QStringLiteral("\r\n");
    platform::SetClipboardText(table);
    FocusEquals();
}

void TCalc::PasteAmount() {
    // Only the first line of what was copied counts, as in a one-line box.
    const char sep = platform::DecimalSeparator();
    QString pasted = platform::ClipboardText();
    pasted = pasted.left(pasted.indexOf(QRegularExpression(QStringLiteral("[\r\n]"))));
    const auto amount = engine::ReadNumber(engine::NormaliseSeparator(Utf8(pasted), sep), sep);
    if (!amount) return;  // not a number: nothing happens, nothing is said
    state_.Box(state_.BoxUnderEntry) = engine::AmountText(*amount, sep);
    ShowBoxes();
    Evaluate("=", false);
}

void TCalc::Nb_DecChange() {
    state_.Decimals = Utf8(Nb_Dec->currentText());
    Lib_NbrDec->setText(Nb_Dec->currentText());
    if (state_.Decimals == "x") ButtonCClick();
    ButtonEgalClick();
    StoreSettings([this](const storage::SettingsFile& settings) { settings.WriteDecimals(state_.Decimals); });
}

void TCalc::Bt_EcartClick() {
    if (!state_.DeviationReport.empty())
        platform::ShowMessage(this, platform::MessageKind::Notice, Text(state_.DeviationReport));
    FocusEquals();
}

// ---- Key preview ----------------------------------------------------------------------

bool TCalc::IsInsideWindow(QObject* object) const {
    for (auto* widget = qobject_cast<QWidget*>(object); widget; widget = widget->parentWidget())
        if (widget == this) return true;
    return false;
}

bool TCalc::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every key once, at its own window (or the decimals list's popup),
    // before the focused control does.
    if (event->type() != QEvent::KeyPress || !watched->isWindowType()) return false;
    QWidget* popup = QApplication::activePopupWidget();
    const bool popupOpen = popup && IsInsideWindow(popup) && watched == static_cast<QObject*>(popup->windowHandle());
    if (watched != static_cast<QObject*>(windowHandle()) && !popupOpen) return false;

    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !popupOpen && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the focused button, which is "=", the default button, nearly always.
        auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        if (focused && focused != ButtonEgal && IsInsideWindow(focused))
            focused->click();
        else
            ButtonEgalClick();
        return true;
    }
    FormKeyDown(key->key(), key->modifiers());
    const bool typed = !key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) FormKeyPress(key->text().at(0));
    // Navigation keys would move the focus from "=" to the decimals list and then step it:
    // the decimals change only through the list itself (a click, "d", the list opened).
    return !popupOpen && IsNavigationKey(key->key());
}

}  // namespace devical::ui
