// The code and the memory prefix taken from a currency title.
#include "engine/currency.h"

#include <gtest/gtest.h>

namespace devical::engine {
namespace {

TEST(CurrencyTitle, GivesItsCodeAndMemoryPrefixByCharacters) {
    struct Row {
        const char* title;
        const char* code;
        const char* prefix;
        const char* rest;
    };
    const Row rows[] = {
        {"FRF Franc français", "FRF", "FRF ", "Franc français"},
        {"DE", "DE", "DE", ""},
        {"", "", "", ""},
        {"€UR Euro", "€UR", "€UR ", "Euro"},  // characters, not bytes
        {"ÉÉÉÉ", "ÉÉÉ", "ÉÉÉÉ", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        EXPECT_EQ(CurrencyCode(row.title), row.code);
        EXPECT_EQ(MemoryCurrencyPrefix(row.title), row.prefix);
        EXPECT_EQ(AfterMemoryCurrencyPrefix(row.title), row.rest);
    }
}

}  // namespace
}  // namespace devical::engine
