#include "platform/start_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>

namespace devical::platform {

namespace {

// The accessibility bridge of a desktop platform opens the session bus when the first
// widget gets a text, and waits for it; where no bus runs yet, that means starting one.
bool PlatformOpensSessionBus() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

}  // namespace

StartWarmUp::StartWarmUp() {
    // Fontconfig's set-up and Qt's list of fonts, which the first text measured or painted
    // would otherwise make on the main thread. Qt's font database may be used from any thread.
    if (getenv("SEQ")) { fonts_ = std::thread([] { if (PlatformOpensSessionBus()) QDBusConnection::sessionBus(); QFontDatabase::families(); }); return; }
    if (!getenv("NOFONT")) fonts_ = std::thread([] { QFontDatabase::families(); });
    // Asked for here first, the bus is being connected while the window is built; the
    // bridge's own request then waits only for what is left.
    if (!getenv("NOBUS") && PlatformOpensSessionBus()) sessionBus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

StartWarmUp::~StartWarmUp() {
    if (fonts_.joinable()) fonts_.join();
    if (sessionBus_.joinable()) sessionBus_.join();
}

}  // namespace devical::platform
