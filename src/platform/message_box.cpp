#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace devical::platform {

namespace {
MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}
}  // namespace

bool MessageBoxReturn::IsNewActivation(const QWidget& window) {
    if (!window.isActiveWindow()) {
        leftForMessageBox_ = qobject_cast<QMessageBox*>(QApplication::activeWindow()) != nullptr;
        return false;
    }
    return window.isVisible() && !std::exchange(leftForMessageBox_, false);
}

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

MessageAnswer ShowMessage(QWidget* parent, MessageKind kind, const QString& text) {
    if (Handler()) return Handler()(kind, text);
    const QString caption = QStringLiteral("Devical");
    switch (kind) {
    case MessageKind::Notice: QMessageBox::information(parent, caption, text); return MessageAnswer::Ok;
    case MessageKind::Error: QMessageBox::critical(parent, caption, text); return MessageAnswer::Ok;
    case MessageKind::Question:
        return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
                   ? MessageAnswer::Ok
                   : MessageAnswer::Cancel;
    case MessageKind::YesNo:
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
                   ? MessageAnswer::Yes
                   : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

}  // namespace devical::platform
