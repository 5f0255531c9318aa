#include "platform/start_warm_up.h"

#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QDBusConnection>
#include <QThread>
#include <system_error>
#include <utility>

namespace devical::platform {

namespace {

// A process that cannot start one more thread does the work itself when it comes to it.
template <typename Work>
std::jthread Begun(Work work) {
    try {
        return std::jthread(std::move(work));
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace

bool PlatformUsesSessionBus(const QString& platformVariable) {
    if (platformVariable.isEmpty()) return true;
    // "wayland;xcb" tries the first, then the next: the first is what normally starts.
    const QString first = platformVariable.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    return first == QLatin1String("xcb") || first.startsWith(QLatin1String("wayland"));
}

std::jthread BeginSessionBusWarmUp() {
    if (!PlatformUsesSessionBus(qEnvironmentVariable("QT_QPA_PLATFORM"))) return {};
    // Qt takes the first thread that uses it for the main thread: this one, not the worker.
    QThread::currentThread();
    // Qt makes its default bus connections on a thread of its own, one at a time, with or
    // without an application object; a main thread that asks first waits for the rest.
    return Begun([] { QDBusConnection::sessionBus(); });
}

std::jthread BeginFontconfigWarmUp() {
    return Begun([] {
        // Only the time the main thread and the display server leave: on two cores the
        // reading would otherwise slow the toolkit's start-up by about as much as it saves.
        // The main thread never waits for this one: if Qt needs fontconfig first, it reads
        // the set-up itself, as without the warm-up, and the slower of the two is dropped.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), PRIO_MAX);
        FcInit();
    });
}

}  // namespace devical::platform

#ifdef __SANITIZE_ADDRESS__
// fontconfig's set-up drops one pattern of its own (288 bytes, once per process), which the
// leak checker reports at the end of a start that hands over before Qt uses any font.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
