// Counts and days said as each language says them.
#include <gtest/gtest.h>

#include "engine/builtin_texts.h"

namespace devical::engine {
namespace {

TEST(BuiltInTexts, CountsAgreeAndDaysTakeTheLanguagesFormat) {
    struct Case {
        const char* set;
        std::size_t count;
        const char* counted;
        const char* day;
    };
    for (const Case& row : {Case{"FR", 0, "0 ajouté", "04/12/2026"}, Case{"FR", 2, "2 ajoutés", "04/12/2026"},
                            Case{"AN", 0, "0 added", "04/12/2026"}, Case{"GM", 1, "1 hinzugefügt", "04.12.2026"}}) {
        SetBuiltInLanguage(row.set);
        EXPECT_EQ(CountText("RatesAddedCount", row.count), row.counted) << row.set;
        EXPECT_EQ(ShownDate("2026-12-04"), row.day) << row.set;
        EXPECT_EQ(ShownDate("2026-02-30"), "2026-02-30") << "no such day: as it is";
    }
    SetBuiltInLanguage("FR");
}

}  // namespace
}  // namespace devical::engine
