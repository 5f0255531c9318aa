// Days written the ISO way ("2026-12-04"), as the settings file, the tape and the central
// bank's files hold them.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace devical::engine {

// The day the text names; nothing for a text that is not exactly YYYY-MM-DD of a real day.
std::optional<std::chrono::sys_days> IsoDay(std::string_view text);
std::string IsoText(std::chrono::sys_days day);

}  // namespace devical::engine
