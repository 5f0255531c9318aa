// The notification-area icon: tip "Devical", a menu with "Devical" and "Exit" (in the
// installed language), and a
// click that shows the window. Where the desktop has no notification area the
// program runs without it.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <optional>

namespace devical::platform {

// Whether the desktop has a notification area; a test may answer in its place.
bool TrayAvailable();
void OverrideTrayAvailable(std::optional<bool> available);

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);

    void SetExitText(const QString& text);

signals:
    void showRequested();  // the menu item "Devical", a click or a double click
    void exitRequested();  // the menu item "Exit"

private:
    QMenu menu_;
    QAction* exit_ = nullptr;
    QSystemTrayIcon icon_;
};

}  // namespace devical::platform
