#include "engine/iso_day.h"

#include <cstdio>

namespace devical::engine {

std::optional<std::chrono::sys_days> IsoDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int fields[3] = {};
    const std::size_t starts[] = {0, 5, 8}, ends[] = {4, 7, 10};
    for (int i = 0; i < 3; ++i)
        for (std::size_t at = starts[i]; at < ends[i]; ++at) {
            if (text[at] < '0' || text[at] > '9') return std::nullopt;
            fields[i] = fields[i] * 10 + (text[at] - '0');
        }
    const std::chrono::year_month_day day{std::chrono::year(fields[0]),
                                          std::chrono::month(static_cast<unsigned>(fields[1])),
                                          std::chrono::day(static_cast<unsigned>(fields[2]))};
    if (!day.ok()) return std::nullopt;
    return std::chrono::sys_days(day);
}

std::string IsoText(std::chrono::sys_days day) {
    const std::chrono::year_month_day date(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

}  // namespace devical::engine
