#include "platform/tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <algorithm>

namespace devical::platform {

namespace {

std::optional<bool> trayOverride;

// A panel still starting is likeliest in the first seconds; a desktop without any tray is
// looked at less and less often, each look being a round trip to the display or the bus.
constexpr int kFirstLookMs = 1000;
constexpr int kLongestLookMs = 30000;

// Whether a StatusNotifier host (the tray of Wayland desktops) has registered with the session
// bus's watcher.
bool StatusNotifierHostRegistered() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.interface() || !bus.interface()->isServiceRegistered(watcher).value()) return false;
    QDBusMessage get =
        QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kFirstLookMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

}  // namespace

// Qt asks the bus for a StatusNotifier host once per process and keeps that answer. On X11 it
// also finds a tray window at every asking; on Wayland the host is all there is, so Qt is not
// asked before it has come, lest a panel started after the program be missed for good.
bool TrayAvailable() {
    if (trayOverride) return *trayOverride;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && !StatusNotifierHostRegistered())
        return false;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void OverrideTrayAvailable(std::optional<bool> available) { trayOverride = available; }

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent) : QObject(parent), image_(icon) {
    QAction* show = menu_.addAction(QStringLiteral("Devical"));
    show->setObjectName(QStringLiteral("Devical1"));
    exit_ = menu_.addAction(QStringLiteral("Exit"));
    exit_->setObjectName(QStringLiteral("Exit1"));
    connect(show, &QAction::triggered, this, &TrayIcon::showRequested);
    connect(exit_, &QAction::triggered, this, &TrayIcon::exitRequested);
    nextLook_.setSingleShot(true);
    nextLook_.setInterval(kFirstLookMs);
    connect(&nextLook_, &QTimer::timeout, this, [this] {
        if (LookForTray()) return;
        nextLook_.setInterval(std::min(nextLook_.interval() * 2, kLongestLookMs));
        nextLook_.start();
    });
    if (!LookForTray()) nextLook_.start();
}

void TrayIcon::SetExitText(const QString& text) { exit_->setText(text); }

bool TrayIcon::LookForTray() {
    if (!TrayAvailable()) return false;
    if (!icon_) ShowIcon();
    nextLook_.stop();
    return true;
}

void TrayIcon::ShowIcon() {
    icon_ = std::make_unique<QSystemTrayIcon>(image_, this);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // StatusNotifierItem hosts send a single click as Trigger and never a double click.
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) emit showRequested();
    });
    icon_->setToolTip(QStringLiteral("Devical"));
    icon_->setContextMenu(&menu_);
    icon_->show();
}

}  // namespace devical::platform
