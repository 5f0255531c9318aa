#include "platform/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>

namespace devical::platform {

// Qt's font database may be used from any thread; a main thread that needs it before the
// worker is done waits for the rest of the same work, never for more.
FontWarmUp::FontWarmUp() : worker_([] { QFontDatabase::families(); }) {}

FontWarmUp::~FontWarmUp() { worker_.join(); }

}  // namespace devical::platform
