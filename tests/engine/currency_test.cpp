// The code and the memory prefix taken from a currency title.
#include "engine/currency.h"

#include <gtest/gtest.h>

namespace devical::engine {
namespace {

// The padlocks mark the eleven first members only; the bank's rates skip all that are fixed.
TEST(FixedCurrency, PadlocksTheElevenFirstAndSkipsEveryFixedRate) {
    for (const char* title :
         {"ATS", "BEF Franc belge", "DEM Mark", "ESP", "FRF", "IEP", "ITL", "LUF", "FIM", "NLG", "PTE Escudo"}) {
        EXPECT_TRUE(IsPadlockedCurrency(title)) << title;
        EXPECT_TRUE(IsFixedToEuro(CurrencyCode(title))) << title;
    }
    for (const char* title : {"dem Mark", "DE", "", "USD Dollar", "GRD Drachme", " DEM", "EUR Euro", "BGN Lev"})
        EXPECT_FALSE(IsPadlockedCurrency(title)) << title;
    for (const char* code : {"EUR", "GRD", "SIT", "CYP", "MTL", "SKK", "EEK", "LVL", "LTL", "HRK", "BGN"})
        EXPECT_TRUE(IsFixedToEuro(code)) << code;
    for (const char* code : {"USD", "CHF", "eur", "EU", "", "DEMX"})
        EXPECT_FALSE(IsFixedToEuro(code)) << code;
}

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
