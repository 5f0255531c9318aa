// Every message box of the program goes through ShowMessage, so that tests can answer
// and record them.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace devical::platform {

enum class MessageKind {
    Notice,    // one OK button
    Error,     // one OK button, error icon
    Question,  // OK and Cancel, question icon
    YesNo,     // Yes and No
};

enum class MessageAnswer { Ok, Cancel, Yes, No };

// Shows a modal box captioned "Devical" and returns the button pressed.
MessageAnswer ShowMessage(QWidget* parent, MessageKind kind, const QString& text);

// A window that re-reads its state each time it becomes active must not do so when it merely
// comes back from one of the program's message boxes: that would undo what the user typed,
// or bring a message about a stored value back for ever.
class MessageBoxReturn {
public:
    // Call on each activation change of the window: true when it has become active anew.
    bool IsNewActivation(const QWidget& window);

private:
    bool leftForMessageBox_ = false;
};

// Replaces the real boxes (tests); an empty function restores them.
using MessageHandler = std::function<MessageAnswer(MessageKind, const QString&)>;
void SetMessageHandler(MessageHandler handler);

}  // namespace devical::platform
