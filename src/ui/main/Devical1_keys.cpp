// The keyboard map of the main window: every key calls the handler that the matching
// button or label calls, so a key and a click behave alike. Neither table consumes the key.
#include <QAbstractItemView>
#include <cstring>

#include "ui/main/Devical1.h"

namespace devical::ui {

namespace {

using Handler = void (TCalc::*)();

constexpr Qt::KeyboardModifiers kHeldKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

enum class Held { Any, None, Ctrl, Alt, Shift, CtrlShift };

// Which keyboard the key is on: the numeric keypad (Num Lock on), the main keys, or either.
enum class Pad { Either, Keypad, Main };

bool Matches(Held rule, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & kHeldKeys;
    switch (rule) {
    case Held::Any: return true;
    case Held::None: return held == Qt::NoModifier;
    case Held::Ctrl: return held == Qt::ControlModifier;
    case Held::Alt: return held == Qt::AltModifier;
    case Held::Shift: return held == Qt::ShiftModifier;
    case Held::CtrlShift: return held == (Qt::ControlModifier | Qt::ShiftModifier);
    }
    return false;
}

struct KeyRule {
    int key;
    Pad pad;
    Held held;
    Handler handler;
};

constexpr Pad K = Pad::Keypad, M = Pad::Main, E = Pad::Either;

// Tested in this order; every rule that matches applies (Ctrl+Delete clears the memory,
// then the entry; Shift+Escape hides the window, then clears all boxes).
// The keypad's keys come first; each has a key of the main keyboard beside it, for a laptop
// and for a screen reader that keeps Insert for itself.
const KeyRule kKeyDownRules[] = {
    {Qt::Key_F1, E, Held::Any, &TCalc::Bt_ManuelClick},
    {Qt::Key_1, K, Held::Ctrl, &TCalc::Cur_HTClick},
    {Qt::Key_2, K, Held::Ctrl, &TCalc::Euro_HTClick},
    {Qt::Key_3, K, Held::Ctrl, &TCalc::Cur_TaxeClick},
    {Qt::Key_4, K, Held::Ctrl, &TCalc::Euro_TaxeClick},
    {Qt::Key_5, K, Held::Ctrl, &TCalc::Cur_TTCClick},
    {Qt::Key_6, K, Held::Ctrl, &TCalc::Euro_TTCClick},
    {Qt::Key_Plus, K, Held::Ctrl, &TCalc::ButtonMPlusClick},
    {Qt::Key_Minus, K, Held::Ctrl, &TCalc::ButtonMMoinsClick},
    {Qt::Key_Insert, E, Held::Ctrl, &TCalc::ButtonMRClick},
    {Qt::Key_Delete, E, Held::Ctrl, &TCalc::ButtonMCClick},
    {Qt::Key_0, K, Held::Ctrl, &TCalc::Button1000Click},
    {Qt::Key_0, K, Held::Alt, &TCalc::Button100Click},
    {Qt::Key_1, K, Held::Alt, &TCalc::Lib_HTClick},
    {Qt::Key_2, K, Held::Alt, &TCalc::Lib_TaxeClick},
    {Qt::Key_3, K, Held::Alt, &TCalc::Lib_TTCClick},
    {Qt::Key_4, K, Held::Alt, &TCalc::Lib_MemoryClick},
    {Qt::Key_1, M, Held::Ctrl, &TCalc::Cur_HTClick},
    {Qt::Key_2, M, Held::Ctrl, &TCalc::Euro_HTClick},
    {Qt::Key_3, M, Held::Ctrl, &TCalc::Cur_TaxeClick},
    {Qt::Key_4, M, Held::Ctrl, &TCalc::Euro_TaxeClick},
    {Qt::Key_5, M, Held::Ctrl, &TCalc::Cur_TTCClick},
    {Qt::Key_6, M, Held::Ctrl, &TCalc::Euro_TTCClick},
    {Qt::Key_P, M, Held::Ctrl, &TCalc::ButtonMPlusClick},
    {Qt::Key_M, M, Held::Ctrl, &TCalc::ButtonMMoinsClick},
    {Qt::Key_R, M, Held::Ctrl, &TCalc::ButtonMRClick},
    {Qt::Key_0, M, Held::Ctrl, &TCalc::Button1000Click},
    {Qt::Key_0, M, Held::Alt, &TCalc::Button100Click},
    {Qt::Key_1, M, Held::Alt, &TCalc::Lib_HTClick},
    {Qt::Key_2, M, Held::Alt, &TCalc::Lib_TaxeClick},
    {Qt::Key_3, M, Held::Alt, &TCalc::Lib_TTCClick},
    {Qt::Key_4, M, Held::Alt, &TCalc::Lib_MemoryClick},
    {Qt::Key_C, E, Held::Ctrl, &TCalc::Bt_CopyClick},
    {Qt::Key_V, E, Held::Ctrl, &TCalc::PasteAmount},
    {Qt::Key_F4, E, Held::Alt, &TCalc::Bt_CloseClick},
    {Qt::Key_Q, E, Held::Ctrl, &TCalc::Bt_CloseClick},  // window managers keep Alt+F4 for themselves
    {Qt::Key_Escape, E, Held::Shift, &TCalc::HideToTray},
    {Qt::Key_Escape, E, Held::Any, &TCalc::ButtonCClick},
    {Qt::Key_Delete, E, Held::Any, &TCalc::ButtonCEClick},
    {Qt::Key_Backspace, E, Held::Any, &TCalc::ButtonRAClick},
    {Qt::Key_Down, E, Held::Alt, &TCalc::FoldOneLevel},
    {Qt::Key_Up, E, Held::Alt, &TCalc::UnfoldOneLevel},
    {Qt::Key_Down, E, Held::None, &TCalc::NextDecimals},
    {Qt::Key_Up, E, Held::None, &TCalc::PreviousDecimals},
    {Qt::Key_F1, E, Held::CtrlShift, &TCalc::ShowCredits},
};

bool OnPad(Pad pad, bool keypad) { return pad == Pad::Either || (pad == Pad::Keypad) == keypad; }

struct CharacterRule {
    const char* characters;
    Handler handler;
};

const CharacterRule kCharacterRules[] = {
    {".,", &TCalc::ButtonDecClick}, {"+", &TCalc::ButtonPlusClick}, {"-", &TCalc::ButtonMoinsClick},
    {"/", &TCalc::ButtonDivClick},  {"*x", &TCalc::ButtonMulClick}, {"%", &TCalc::Bt_PourcClick},
    {"=", &TCalc::ButtonEgalClick}, {"cC", &TCalc::ButtonCClick},   {"eE", &TCalc::ButtonCEClick},
    {"aApP", &TCalc::Bt_CodeClick}, {"yY", &TCalc::Bt_InfoClick},   {"mM", &TCalc::Lst_MemoryClick},
    {"tT", &TCalc::Lib_RateClick},  {"dD", &TCalc::OpenDecimals},   {"!", &TCalc::Bt_EcartClick},
    {"lL", &TCalc::Bt_LangueClick}, {"zZ", &TCalc::Label1Click},    {"rR", &TCalc::Bt_TapeClick},
};

}  // namespace

void TCalc::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    for (const KeyRule& rule : kKeyDownRules)
        if (rule.key == key && OnPad(rule.pad, keypad) && Matches(rule.held, modifiers)) (this->*rule.handler)();
}

void TCalc::FormKeyPress(QChar character) {
    if (character.unicode() > 0x7F) return;
    const char c = static_cast<char>(character.unicode());
    if (c >= '0' && c <= '9') {
        // With the decimals list open, digits pick the number of decimals there, Enter taking it.
        if (!Nb_Dec->view()->isVisible()) return DigitClick(c - '0');
        const int item = Nb_Dec->findText(QString(character));
        if (item >= 0) Nb_Dec->view()->setCurrentIndex(Nb_Dec->model()->index(item, 0));
        return;
    }
    for (const CharacterRule& rule : kCharacterRules)
        if (c != '\0' && std::strchr(rule.characters, c)) {
            (this->*rule.handler)();
            return;
        }
}

void TCalc::TypeKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    FormKeyDown(key, modifiers);
    if (!text.isEmpty()) FormKeyPress(text.at(0));
}

void TCalc::OpenDecimals() {
    Nb_Dec->setFocus(Qt::ShortcutFocusReason);
    Nb_Dec->showPopup();
}

// Up and Down step the decimals list only while it has the focus and stays closed (an open
// list steps itself).
void TCalc::StepDecimals(int step) {
    if (!Nb_Dec->hasFocus() || Nb_Dec->view()->isVisible()) return;
    const int index = Nb_Dec->currentIndex() + step;
    if (index < 0 || index >= Nb_Dec->count()) return;
    Nb_Dec->setCurrentIndex(index);
    ApplyDecimals();
}

void TCalc::FoldOneLevel() {
    if (Bar_Reduc->value() < 3) Bar_Reduc->setValue(Bar_Reduc->value() + 1);
}

void TCalc::UnfoldOneLevel() {
    if (Bar_Reduc->value() > 1) Bar_Reduc->setValue(Bar_Reduc->value() - 1);
}

}  // namespace devical::ui
