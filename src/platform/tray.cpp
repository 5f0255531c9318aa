#include "platform/tray.h"

namespace devical::platform {

namespace {
std::optional<bool> trayOverride;
}

bool TrayAvailable() { return trayOverride ? *trayOverride : QSystemTrayIcon::isSystemTrayAvailable(); }

void OverrideTrayAvailable(std::optional<bool> available) { trayOverride = available; }

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent) : QObject(parent), icon_(icon) {
    QAction* show = menu_.addAction(QStringLiteral("Devical"));
    show->setObjectName(QStringLiteral("Devical1"));
    exit_ = menu_.addAction(QStringLiteral("Exit"));
    exit_->setObjectName(QStringLiteral("Exit1"));
    connect(show, &QAction::triggered, this, &TrayIcon::showRequested);
    connect(exit_, &QAction::triggered, this, &TrayIcon::exitRequested);
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // StatusNotifierItem hosts send a single click as Trigger and never a double click.
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) emit showRequested();
    });
    icon_.setToolTip(QStringLiteral("Devical"));
    icon_.setContextMenu(&menu_);
    if (QSystemTrayIcon::isSystemTrayAvailable()) icon_.show();
}

void TrayIcon::SetExitText(const QString& text) { exit_->setText(text); }

}  // namespace devical::platform
