// Which rates an entry dialog may store.
#include "engine/rate_check.h"

#include <gtest/gtest.h>

namespace devical::engine {
namespace {

TEST(RateRefusal, AnyNumberIsStoredAndOnlyATextThatIsNotOneIsRefused) {
    struct Row {
        const char* text;
        const char* refusal;  // the message, or "" when the rate is stored
    };
    const Row rows[] = {
        {"6,55957", ""},
        {"0.93", ""},  // either separator
        {"1E-5", ""},
        {"0", ""},
        {"-2", ""},   // a negative tax is a discount
        {"150", ""},  // above 100 %
        {"abc", "'abc' n'est pas une valeur flottante correcte"},
        {"5,5 %", "'5,5 %' n'est pas une valeur flottante correcte"},
        {"", "'' n'est pas une valeur flottante correcte"},
        {"1E5000", "'1E5000' n'est pas une valeur flottante correcte"},  // beyond the extended range
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(RateRefusal(row.text, ',').value_or(""), row.refusal);
    }
}

}  // namespace
}  // namespace devical::engine
