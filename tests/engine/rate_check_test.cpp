// Which rates an entry dialog may store.
#include "engine/rate_check.h"

#include <gtest/gtest.h>

namespace devical::engine {
namespace {

TEST(RateRefusal, ACurrencyRateIsANumberAboveZeroAndATaxRateOneOfZeroOrAbove) {
    struct Row {
        const char* text;
        const char* currency;  // the refusal's message key, or "" when the rate is stored
        const char* tax;
    };
    const Row rows[] = {
        {"6,55957", "", ""},
        {"0.93", "", ""},  // either separator
        {"1E-5", "", ""},
        {"0", "BadRate", ""},
        {"0,0", "BadRate", ""},
        {"-2", "BadRate", "BadTaxRate"},
        {"abc", "BadRate", "BadTaxRate"},
        {"5,5 %", "BadRate", "BadTaxRate"},
        {"", "BadRate", "BadTaxRate"},
        {"1E5000", "BadRate", "BadTaxRate"},  // beyond the extended range
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(RateRefusal(row.text, RateKind::Currency, ',').value_or(""), row.currency);
        EXPECT_EQ(RateRefusal(row.text, RateKind::Tax, ',').value_or(""), row.tax);
    }
}

}  // namespace
}  // namespace devical::engine
