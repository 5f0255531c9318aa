// The main window: the keypad, the six amount boxes, the memory area and the converter's
// lifecycle. Handlers hand the event to the engine and the settings, then show the state.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "engine/converter_state.h"
#include "engine/entry.h"
#include "engine/memory_register.h"
#include "platform/message_box.h"
#include "session/converter_session.h"
#include "storage/language_file.h"
#include "ui/common/fitted_label.h"

namespace devical::platform {
class TrayIcon;
}

namespace devical::ui {

class TCalc : public QWidget {
    Q_OBJECT
public:
    // Builds the window for the program directory (with its trailing '/', or empty for the
    // current directory) and runs its creation step.
    explicit TCalc(const QString& programDirectory, QWidget* parent = nullptr);
    ~TCalc() override;

    // Creation step: window texts and message catalogue from the language file. Run again
    // after a language change.
    void FormCreate();
    // Activation step: the settings file into the calculator, and the recalculations that
    // other windows asked for.
    void FormActivate();
    // A list or dialog has closed: the main window becomes active again, and its activation
    // step carries in what that window chose.
    void TakeBackActivation();
    // The notification area's icon, once: queued after the first frame, or at once for a
    // start hidden in the tray.
    void ShowTrayIcon();
    // The start asked to stay out of sight: hidden in the tray, or minimised where there is
    // no tray (yet) to come back from.
    void StartHidden();
    // Into the tray, or onto the taskbar while there is no tray.
    void HideToTray();

    // Keypad and boxes.
    void ButtonDecClick() { DigitClick(engine::kSeparatorKey); }
    void Button100Click() { DigitClick(0, 2); }
    void Button1000Click() { DigitClick(0, 3); }
    void ButtonRAClick() {
        EditEntry([](engine::ConverterState& state, char) { engine::Backspace(state); });
    }
    void ButtonCEClick() {
        session_.CancelEntry();
        FocusEquals();
    }
    void ButtonCClick() {
        session_.ClearAll();
        FocusEquals();
    }
    void ButtonDivClick() { OperatorClick(engine::OperatorKey::Divide); }
    void ButtonMulClick() { OperatorClick(engine::OperatorKey::Times); }
    void ButtonPlusClick() { OperatorClick(engine::OperatorKey::Plus); }
    void ButtonMoinsClick() { OperatorClick(engine::OperatorKey::Minus); }
    void Bt_PourcClick() { OperatorClick(engine::OperatorKey::Percent); }
    void ButtonEgalClick() { OperatorClick(engine::OperatorKey::Equals); }
    void Cur_HTClick() { BoxClick(1, 1); }
    void Euro_HTClick() { BoxClick(1, 2); }
    void Cur_TaxeClick() { BoxClick(2, 1); }
    void Euro_TaxeClick() { BoxClick(2, 2); }
    void Cur_TTCClick() { BoxClick(3, 1); }
    void Euro_TTCClick() { BoxClick(3, 2); }

    // Clipboard, decimals, deviation report.
    void Bt_CopyClick();
    void PasteAmount();
    void Nb_DecChange();
    // The decimals shown by the list: applied, shown and stored, the focus left where it is.
    void ApplyDecimals();
    void Bt_EcartClick();
    void Bt_TapeClick() { emit tapeRequested(); }

    // Lifecycle.
    void Bar_ReducChange();
    void Bt_CloseClick() { emit exitRequested(); }
    void Devical1Click();
    void Bt_LangueClick() { emit languageDialogRequested(); }

    // Help and about.
    void Bt_ManuelClick();
    void Bt_CodeClick();
    void Bt_InfoClick() { emit aboutRequested(); }
    void ShowCredits();

    // Memory register.
    void ButtonMPlusClick() {
        ShowMemoryOutcome(session_.AddToMemory(engine::MemoryKey::Plus));
        SpeakMemory();
    }
    void ButtonMMoinsClick() {
        ShowMemoryOutcome(session_.AddToMemory(engine::MemoryKey::Minus));
        SpeakMemory();
    }
    void ButtonMRClick();
    void ButtonMCClick() {
        ShowMemoryOutcome(session_.ClearMemory());
        SpeakMemory();
    }
    void Label1Click();
    void Lst_MemoryClick();

    // Titles and the lists behind the labels.
    void Lib_HTClick();
    void Lib_TTCClick();
    void Lib_MemoryClick();
    void Lib_TaxeClick() { emit taxListRequested(); }
    void Lib_RateClick() { emit rateListRequested(); }  // Lib_Cur's too

    // The keyboard map: key strokes first, then the character they type.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyPress(QChar character);
    // A key typed in another window that hands the calculator's keys on (the tape).
    void TypeKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    void OpenDecimals();                           // "d": the decimals list, dropped down
    void FoldOneLevel();                           // Alt+Down
    void UnfoldOneLevel();                         // Alt+Up
    void NextDecimals() { StepDecimals(1); }       // Down, the decimals list focused
    void PreviousDecimals() { StepDecimals(-1); }  // Up, the decimals list focused

    // Shared with the list windows and dialogs.
    const engine::ConverterState& State() const { return session_.State(); }
    const engine::MessageCatalogue& Messages() const { return session_.Messages(); }
    const QString& ProgramDirectory() const { return programDirectory_; }
    // A row chosen in a list, or a title typed in the question, handed to the session; one
    // that cannot be written is reported (the file stays whole) and false comes back.
    bool Choose(const storage::RowChoice& choice);
    bool StoreTitle(storage::TitleTarget target, const std::string& title);
    // After a language switch: the amounts follow the new set's currency and tax.
    void FollowNewSet() { session_.FollowNewSet(); }
    // The paper tape, and a line of it put into the box under entry.
    session::TapeLog& Tape() { return session_.Tape(); }
    engine::TapeSettings TapeSettings() const { return engine::SettingsOf(session_.State(), session_.Context()); }
    void RecallFromTape(std::size_t line);
    // The rates update rewrote the list files: the session tells the lists to read them again.
    void ListFilesChanged() { session_.ListFilesChanged(); }
    // The daily update of the rates at start-up: asked for or not, stored, due today.
    bool RatesDaily() const { return session_.RatesDaily(); }
    QString RatesDay() const { return QString::fromStdString(session_.RatesDay()); }
    bool StoreRatesDaily(bool daily) { return !Reported(session_.StoreRatesDaily(daily)); }
    bool TakeDailyRatesTurn();
    // The language file, or nothing once the reason it cannot be read has been shown.
    std::optional<storage::LanguageFile> OpenLanguageFile();
    QString InstalledLanguage() const { return installedLanguage_; }
    // The current currency's title, as Lib_Cur shows it.
    QString CurrencyTitle() const { return QString::fromStdString(session_.Context().currencyTitle); }
    QString TaxTitle() const { return QString::fromStdString(session_.Context().taxTitle); }
    // The current currency's code and blank, put in front of memory titles.
    const QString& MemoryCurrencyPrefix() const { return memoryCurrencyPrefix_; }
    void SetMemoryCurrencyPrefix(const QString& prefix) { memoryCurrencyPrefix_ = prefix; }

signals:
    void exitRequested();
    void aboutRequested();
    void languageDialogRequested();
    void rateListRequested();
    void tapeRequested();
    // The session says another program rewrote the list files: the lists follow.
    void listFilesChanged();
    void taxListRequested();
    // The current memory handed to the saved-amounts list: title, national and euro amounts.
    void memoryListRequested(const QString& title, const QString& national, const QString& euro);
    // The title to rename, preset in the question.
    void titleEditRequested(storage::TitleTarget target, const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void BuildAmountArea();
    void BuildMemoryArea();
    void BuildKeypad();
    void BuildOtherControls();
    void WireControls();
    void DigitClick(int digit, int times = 1) {
        EditEntry([=](engine::ConverterState& state, char sep) {
            for (int i = 0; i < times; ++i)
                engine::EnterDigit(state, digit, sep);
        });
    }
    void EditEntry(const std::function<void(engine::ConverterState&, char)>& edit);
    void OperatorClick(engine::OperatorKey key);
    void BoxClick(int row, int column);
    bool Reported(const std::optional<std::string>& failure);
    // The parts of the window that the session says changed, drawn from what it holds.
    void Show(session::Shown changed);
    void ShowBoxes();
    // What a step leaves besides the state: the clipboard text and its messages.
    void ShowOutcome(const engine::EngineOutcome& outcome);
    void ShowBoxUnderEntryLook();
    void ShowStoredSettings();
    void ShowSettings();
    void NameAmountBoxes();
    void ShowRateDate();
    QString RateText() const;
    void ShowMemory();
    void ShowMemoryOutcome(const engine::MemoryOutcome& outcome);
    void StepDecimals(int step);
    void FocusEquals() { ButtonEgal->setFocus(Qt::OtherFocusReason); }
    // What a glance at the window tells, said by a listening screen reader: the converted
    // amount of the line under entry, or the memory.
    // Said only when the boxes or the box under entry changed since it was last said.
    void SpeakConversion();
    void SpeakMemory();
    void Say(const QString& text);
    // "Montant HT 14,33 CHF, 15,24 Euros": a line's title and its two amounts.
    QString LineSpeech(int row) const;
    QString MemorySpeech() const;
    // What a choice in a list changed, in words: the currency and its rate with the line under
    // entry, the tax with the gross line, or the memory.
    QString ChoiceSpeech(const storage::RowChoice& choice) const;
    void ShowError(const QString& text);
    QString FilePath(const char* name) const;
    void OpenHelpDocument(const char* key);
    void ApplyBuiltInTexts();

    QString programDirectory_;
    session::ConverterSession session_;
    QString installedLanguage_ = QStringLiteral("FR");
    QString rateText1_, rateText2_, rateText2One_;
    QString rateHint_;  // the language file's hint of the rate line
    QString underEntryText_;
    int fullHeight_ = 0;
    int bottomMargin_ = 0;
    QString memoryCurrencyPrefix_;
    bool activating_ = false;
    bool conversionUnsaid_ = true;
    int shownEntry_ = 0;
    QString choiceSpeech_;
    platform::MessageBoxReturn messageBoxReturn_;
    platform::TrayIcon* tray_ = nullptr;  // a child of the window, made after its first frame
    bool trayQueued_ = false;

public:
    // Controls, named as on screen.
    std::array<FittedLabel*, 6> boxes_{};  // Cur_HT, Euro_HT, Cur_Taxe, Euro_Taxe, Cur_TTC, Euro_TTC
    FittedLabel *Lib_Rate{}, *Lib_Cur{}, *Lib_HT{}, *Lib_Taxe{}, *Lib_TTC{};
    QLabel* Lib_Euro{};
    QPushButton* Lst_Memory{};
    FittedLabel *Lib_Memory{}, *Lib_MemCur{}, *Lib_MemEuro{};
    QLabel *Lb_Dev{}, *Label1{};
    QPushButton *ButtonMC{}, *ButtonMR{}, *ButtonMMoins{}, *ButtonMPlus{};
    std::array<QPushButton*, 10> digitButtons_{};
    QPushButton *ButtonDiv{}, *ButtonMul{}, *ButtonRA{}, *ButtonPlus{}, *ButtonMoins{}, *ButtonCE{};
    QPushButton *Bt_Pourc{}, *ButtonC{}, *ButtonDec{}, *ButtonEgal{}, *Button100{}, *Button1000{};
    QSlider* Bar_Reduc{};
    QLabel *Bt_Manuel{}, *Bt_Code{}, *Bt_Info{}, *Lib_NbrDec{};
    FittedLabel* Lib_Dec{};
    QToolButton *Bt_Ecart{}, *Bt_Langue{}, *Bt_Copy{}, *Bt_Close{}, *Bt_Tape{};
    QComboBox* Nb_Dec{};
};

}  // namespace devical::ui
