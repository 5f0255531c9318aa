#include "ui/common/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "ui/common/click_filter.h"

namespace devical::ui {

namespace {

bool IsNavigationKey(int key) {
    const int keys[] = {Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left, Qt::Key_Right,
                        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

// With Ctrl or Alt held, a key of the digit row stands for its digit, whatever the layout has it
// type (& é " ' ( on a French keyboard, which gives the digits with Shift only): X11 and
// Wayland number those keys 10 to 19 alike.
int LayoutFreeKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = key.modifiers();
    if (!(held & (Qt::ControlModifier | Qt::AltModifier)) || (held & Qt::KeypadModifier)) return key.key();
    const quint32 code = key.nativeScanCode();
    if (code < 10 || code > 19) return key.key();
    return code == 19 ? Qt::Key_0 : Qt::Key_1 + static_cast<int>(code - 10);
}

bool IsPlain(const QKeyEvent& key) { return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier; }

}  // namespace

KeyPreview::KeyPreview(QWidget& window, QAbstractButton& defaultButton, Handlers handlers)
    : QObject(&window), window_(window), defaultButton_(defaultButton), handlers_(std::move(handlers)) {
    qApp->installEventFilter(this);
}

bool KeyPreview::IsInsideWindow(QObject* object) const {
    for (auto* widget = qobject_cast<QWidget*>(object); widget; widget = widget->parentWidget())
        if (widget == &window_) return true;
    return false;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWindowType()) return false;
    QWidget* popup = QApplication::activePopupWidget();
    const bool popupOpen = popup && IsInsideWindow(popup);
    const bool atPopup = popupOpen && watched == static_cast<QObject*>(popup->windowHandle());
    if (watched != static_cast<QObject*>(window_.windowHandle()) && !atPopup) return false;

    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    QWidget* focused = QApplication::focusWidget();
    if (focused && !IsInsideWindow(focused)) focused = nullptr;
    // Enter or Space on text that acts (an amount box) acts as a click on it.
    if ((enter || key->key() == Qt::Key_Space) && !popupOpen && IsPlain(*key) && focused &&
        !qobject_cast<QAbstractButton*>(focused) && PressClickable(focused))
        return true;
    if (enter && !popupOpen && IsPlain(*key)) {
        auto* button = qobject_cast<QAbstractButton*>(focused);
        (button ? button : &defaultButton_)->click();
        return true;
    }
    handlers_.keyDown(LayoutFreeKey(*key), key->modifiers());
    const bool typed = !key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) handlers_.keyPress(key->text().at(0));
    if (popupOpen && !atPopup) {
        // Typed fast, keys still reach the window while its popup opens: they go on to the
        // popup, in the order typed, instead of being lost.
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(), key->count());
        QApplication::sendEvent(popup->focusWidget() ? popup->focusWidget() : popup, &copy);
        return true;
    }
    return !popupOpen && IsNavigationKey(key->key());
}

}  // namespace devical::ui
