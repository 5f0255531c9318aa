// The notification-area icon: tip "Devical", a menu with "Devical" and "Exit" (in the
// installed language), and a click that shows the window. Where the desktop has no
// notification area yet (a session whose panel starts after the program), the icon waits
// and comes when one does.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>
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
    // Whether the icon is in a notification area now: one that has come since the last look
    // gets the icon at once. Looked at again and again, less often, until one comes.
    bool LookForTray();

signals:
    void showRequested();  // the menu item "Devical", a click or a double click
    void exitRequested();  // the menu item "Exit"

private:
    void ShowIcon();

    QIcon image_;
    QMenu menu_;
    QAction* exit_ = nullptr;
    QTimer nextLook_;
    // Made only once there is a tray: Qt settles at its making which kind of tray it talks to.
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace devical::platform
