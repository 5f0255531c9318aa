// The main window: the keypad, the six amount boxes, the memory area and the converter's
// lifecycle. Handlers read the controls, call the engine and write back what it returns.
#pragma once

#include <QComboBox>
#include <QFrame>
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
#include "platform/message_box.h"
#include "storage/language_file.h"
#include "storage/settings.h"
#include "ui/main/fitted_label.h"

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

    // Keypad and boxes.
    void Button0Click() { DigitClick(0); }
    void Button1Click() { DigitClick(1); }
    void Button2Click() { DigitClick(2); }
    void Button3Click() { DigitClick(3); }
    void Button4Click() { DigitClick(4); }
    void Button5Click() { DigitClick(5); }
    void Button6Click() { DigitClick(6); }
    void Button7Click() { DigitClick(7); }
    void Button8Click() { DigitClick(8); }
    void Button9Click() { DigitClick(9); }
    void ButtonDecClick();
    void Button100Click();
    void Button1000Click();
    void ButtonRAClick();
    void ButtonCEClick();
    void ButtonCClick();
    void ButtonDivClick() { OperatorClick("/"); }
    void ButtonMulClick() { OperatorClick("x"); }
    void ButtonPlusClick() { OperatorClick("+"); }
    void ButtonMoinsClick() { OperatorClick("-"); }
    void Bt_PourcClick() { OperatorClick("%"); }
    void ButtonEgalClick() { OperatorClick("="); }
    void Cur_HTClick() { SelectBox(1, 1); }
    void Euro_HTClick() { SelectBox(1, 2); }
    void Cur_TaxeClick() { SelectBox(2, 1); }
    void Euro_TaxeClick() { SelectBox(2, 2); }
    void Cur_TTCClick() { SelectBox(3, 1); }
    void Euro_TTCClick() { SelectBox(3, 2); }

    // Clipboard, decimals, deviation report.
    void Bt_CopyClick();
    void PasteAmount();
    void Nb_DecChange();
    void Bt_EcartClick();

    // Lifecycle.
    void Bar_ReducChange();
    void Bt_CloseClick();
    void Devical1Click();
    void Bt_LangueClick();

    // Help and about.
    void Bt_ManuelClick();
    void Bt_CodeClick();
    void Bt_InfoClick();
    void ShowCredits();

    // Memory register.
    void ButtonMPlusClick();
    void ButtonMMoinsClick();
    void ButtonMRClick();
    void ButtonMCClick();
    void Label1Click();
    void Lst_MemoryClick();

    // Titles and the lists behind the labels.
    void Lib_HTClick();
    void Lib_TTCClick();
    void Lib_MemoryClick();
    void Lib_TaxeClick();
    void Lib_RateClick();
    void Lib_CurClick();

    // The keyboard map: key strokes first, then the character they type.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyPress(QChar character);
    void OpenDecimals();    // "d": the decimals list, dropped down
    void FoldOneLevel();    // Alt+Down
    void UnfoldOneLevel();  // Alt+Up

    // Shared with the list windows and dialogs.
    engine::ConverterState& State() { return state_; }
    const engine::MessageCatalogue& Messages() const { return context_.messages; }
    const QString& ProgramDirectory() const { return programDirectory_; }
    storage::SettingsFile Settings() const;
    // Runs writes of the settings file; one that fails is reported (the file stays whole)
    // and false comes back.
    bool StoreSettings(const std::function<void(const storage::SettingsFile&)>& write);
    // The language file, or nothing once the reason it cannot be read has been shown.
    std::optional<storage::LanguageFile> OpenLanguageFile();
    QString InstalledLanguage() const { return installedLanguage_; }
    // The current currency's title, as Lib_Cur shows it.
    QString CurrencyTitle() const;
    // The current currency's code and blank, put in front of memory titles.
    const QString& MemoryCurrencyPrefix() const { return memoryCurrencyPrefix_; }
    void SetMemoryCurrencyPrefix(const QString& prefix) { memoryCurrencyPrefix_ = prefix; }

signals:
    void exitRequested();
    void aboutRequested();
    void languageDialogRequested();
    void rateListRequested();
    void taxListRequested();
    // The current memory handed to the saved-amounts list: title, national and euro amounts.
    void memoryListRequested(const QString& title, const QString& national, const QString& euro);
    // "HT", "TTC" or "MEM", with the title to preset.
    void titleEditRequested(const QString& which, const QString& title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void WireControls();
    void MeasureSizeLevels();
    // The activation's steps in their order: titles, tax, currency, memory, decimals, size,
    // box under entry, then the first clear and the re-evaluations other windows asked for.
    void ApplySettings(const storage::Settings& settings, char sep);
    void DigitClick(int digit);
    void TypeZeros(int count);
    void AfterEntryEdit();
    void OperatorClick(const char* key);
    // Runs the operator engine and shows its result; with showMessages false its failures
    // pass silently (the paste command).
    void Evaluate(const char* key, bool showMessages = true);
    void SelectBox(int row, int column);
    void ApplySizeLevel(int level);
    void ShowBoxes();
    void ShowBoxUnderEntryLook();
    void RefreshContext();
    void FocusEquals();
    void ShowError(const QString& text);
    void SaveMemoryRegister();
    void AddLineToMemory(int sign);
    bool IsInsideWindow(QObject* object) const;
    QString FilePath(const char* name) const;

    QString programDirectory_;
    engine::ConverterState state_;
    engine::ConverterContext context_;
    QString installedLanguage_ = QStringLiteral("FR");
    QString rateText1_, rateText2_;
    int fullHeight_ = 0;
    int bottomMargin_ = 0;
    bool firstActivationDone_ = false;
    bool memoryReloadFlag_ = true;
    QString memoryCurrencyPrefix_;
    bool activating_ = false;
    platform::MessageBoxReturn messageBoxReturn_;
    std::unique_ptr<platform::TrayIcon> tray_;

public:
    // Controls, named as on screen.
    std::array<FittedLabel*, 6> boxes_{};  // Cur_HT, Euro_HT, Cur_Taxe, Euro_Taxe, Cur_TTC, Euro_TTC
    FittedLabel *Lib_Rate{}, *Lib_Cur{}, *Lib_HT{}, *Lib_Taxe{}, *Lib_TTC{};
    QLabel* Lib_Euro{};
    QFrame* Bevel1{};
    QPushButton* Lst_Memory{};
    FittedLabel *Lib_Memory{}, *Lib_MemCur{}, *Lib_MemEuro{};
    QLabel *Lb_Dev{}, *Label1{}, *Label2{};
    QPushButton *ButtonMC{}, *ButtonMR{}, *ButtonMMoins{}, *ButtonMPlus{};
    std::array<QPushButton*, 10> digitButtons_{};
    QPushButton *ButtonDiv{}, *ButtonMul{}, *ButtonRA{}, *ButtonPlus{}, *ButtonMoins{}, *ButtonCE{};
    QPushButton *Bt_Pourc{}, *ButtonC{}, *ButtonDec{}, *ButtonEgal{}, *Button100{}, *Button1000{};
    QSlider* Bar_Reduc{};
    QLabel *Bt_Manuel{}, *Bt_Code{}, *Bt_Info{}, *Lib_Dec{}, *Lib_NbrDec{};
    QToolButton *Bt_Ecart{}, *Bt_Langue{}, *Bt_Copy{}, *Bt_Close{};
    QComboBox* Nb_Dec{};
};

}  // namespace devical::ui
