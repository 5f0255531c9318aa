#include "platform/start_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace devical::platform {

namespace {

// The platforms whose accessibility bridge talks over the session bus.
bool BridgeUsesSessionBus() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

}  // namespace

// Qt's font database and its default bus connections may be used from any thread; a main
// thread that needs either before its worker is done waits for the rest of the same work,
// never for more.
StartWarmUp::StartWarmUp() : fonts_([] { QFontDatabase::families(); }) {
    if (BridgeUsesSessionBus()) sessionBus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

StartWarmUp::~StartWarmUp() {
    fonts_.join();
    if (sessionBus_.joinable()) sessionBus_.join();
}

}  // namespace devical::platform
