#include "platform/start_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <system_error>
#include <utility>

namespace devical::platform {

namespace {

// The platforms whose accessibility bridge talks over the session bus.
bool BridgeUsesSessionBus() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

// A process that cannot start one more thread does the work itself when it comes to it.
template <typename Work>
std::thread Begun(Work work) {
    try {
        return std::thread(std::move(work));
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace

// Qt's font database is documented as safe from any thread, and Qt makes its default bus
// connections on a thread of its own, one at a time. A main thread that needs either before
// its worker is done waits for the rest of the same work, never for more.
StartWarmUp::StartWarmUp() : fonts_(Begun([] { QFontDatabase::families(); })) {
    if (BridgeUsesSessionBus()) sessionBus_ = Begun([] { QDBusConnection::sessionBus(); });
}

StartWarmUp::~StartWarmUp() {
    for (std::thread* worker : {&fonts_, &sessionBus_})
        if (worker->joinable()) worker->join();
}

}  // namespace devical::platform
