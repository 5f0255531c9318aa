#include "ui/common/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace devical::ui {

namespace {

bool IsNavigationKey(int key) {
    const int keys[] = {Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left, Qt::Key_Right,
                        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

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
    if (enter && !popupOpen && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        (focused && IsInsideWindow(focused) ? focused : &defaultButton_)->click();
        return true;
    }
    handlers_.keyDown(key->key(), key->modifiers());
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
