// The notification-area icon: tip "Devical", a menu with "Devical" and "Exit", and a
// double click that shows the window. Where the desktop has no notification area the
// program runs without it.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace devical::platform {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);

signals:
    void showRequested();  // the menu item "Devical" or a double click
    void exitRequested();  // the menu item "Exit"

private:
    QMenu menu_;
    QSystemTrayIcon icon_;
};

}  // namespace devical::platform
