// A window that sees every key once, at its own window (or at its popup's), before the
// focused control does: the keyboard map of a calculator rather than of its controls.
#pragma once

#include <QAbstractButton>
#include <QObject>
#include <functional>

namespace devical::ui {

class KeyPreview : public QObject {
public:
    struct Handlers {
        std::function<void(int key, Qt::KeyboardModifiers modifiers)> keyDown;
        std::function<void(QChar character)> keyPress;  // the character typed, without Ctrl or Alt
    };

    // Enter presses the window's focused button, or else its default button; Enter or Space
    // on a focused control with a click handler (click_filter.h) clicks it. With Ctrl or Alt
    // held, the digit row gives its digits whatever the keyboard layout. The arrow and
    // page keys are kept from the controls (the popup gets them): they would move the focus
    // or step a list. Keys reaching the window while its popup is open go on to the popup.
    KeyPreview(QWidget& window, QAbstractButton& defaultButton, Handlers handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsInsideWindow(QObject* object) const;

    QWidget& window_;
    QAbstractButton& defaultButton_;
    Handlers handlers_;
};

}  // namespace devical::ui
