// Two slow first uses of the desktop that the first frame waits for, begun on worker
// threads before the application object, so that they run while the toolkit starts up:
// - the session bus, which the desktop's accessibility bridge opens, and waits for, when
//   the first widget gets a text (where no bus runs yet, that means starting one);
// - fontconfig's set-up (reading its configuration), which the first text measured or
//   painted would otherwise make on the main thread.
// Each worker is joined when its handle goes, so that none outlives the start.
#pragma once

#include <QString>
#include <thread>

namespace devical::platform {

// Whether the platform that Qt will start, as asked by QT_QPA_PLATFORM (empty when not set),
// has an accessibility bridge on the session bus. Unasked, the desktop's own platform (X11
// or Wayland) starts, and it has one.
bool PlatformUsesSessionBus(const QString& platformVariable);

// Both from the main thread, before the application object.
[[nodiscard]] std::jthread BeginSessionBusWarmUp();
[[nodiscard]] std::jthread BeginFontconfigWarmUp();

}  // namespace devical::platform
