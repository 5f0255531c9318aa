// The report of the rounding loss of a round trip through the euro.
#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

TEST(DeviationReport, ListsTheLossOfEachLineInHundredths) {
    Keypad pad("6,55957", "20,6");
    pad.Press("C100=");
    EXPECT_EQ(pad.state.DeviationReport,
              "Ecarts de conversion (Centimes)\n\nMontant HT = -3\nTVA (20,6 %) = 0\nMontant TTC = +3\n");
}

TEST(DeviationReport, ShowsOnlyTheNetLineWithoutTax) {
    Keypad pad("6,55957", "0");
    pad.Press("C100=");
    EXPECT_EQ(pad.state.DeviationReport, "Ecarts de conversion (Centimes)\n\nMontant HT = -3\n");
}

TEST(DeviationReport, SaysNoDeviationWhenTheRoundTripIsExactOrStartsInEuros) {
    Keypad zero("6,55957", "20,6");
    EXPECT_EQ(zero.Press("C0=").state.DeviationReport, "Pas d'écart de conversion");
    Keypad euros("6,55957", "20,6");
    EXPECT_EQ(euros.Select(1, 2).Press("C100=").state.DeviationReport, "Pas d'écart de conversion");
    Keypad exact("2", "0");
    EXPECT_EQ(exact.Press("C100=").state.DeviationReport, "Pas d'écart de conversion");
}

TEST(DeviationReport, IsOnlyMeaningfulAtTwoDecimalsExceptForWholeUnitCurrencies) {
    for (const char* decimals : {"0", "1", "3", "x"}) {
        SCOPED_TRACE(decimals);
        Keypad pad("6,55957", "20,6", decimals);
        EXPECT_EQ(pad.Press("C100=").state.DeviationReport, "Ecarts de conversion calculés pour 2 décimales");
        Keypad euros("6,55957", "20,6", decimals);
        EXPECT_EQ(euros.Select(1, 2).Press("C100=").state.DeviationReport,
                  "Ecarts de conversion calculés pour 2 décimales");
    }
    Keypad pesetas("166,386", "0", "0");
    pesetas.context.currencyTitle = "ESP Peseta";
    // 1000 pesetas = 6,01 euros at whole units = 6 euros = 998,316 -> 998 pesetas back.
    EXPECT_EQ(pesetas.Press("C1000=").state.DeviationReport, "Ecarts de conversion (Centimes)\n\nMontant HT = -2\n");
}

TEST(DeviationReport, UsesTheLanguageFileTexts) {
    Keypad pad("6,55957", "0");
    pad.context.messages.SetText("Deviation_Yes", "Conversion deviations (cents)");
    EXPECT_EQ(pad.Press("C100=").state.DeviationReport, "Conversion deviations (cents)\n\nMontant HT = -3\n");
}

TEST(DeviationReport, IsForgottenByClearAll) {
    Keypad pad("6,55957", "20,6");
    EXPECT_EQ(pad.Press("C100=C").state.DeviationReport, "");
}

}  // namespace
}  // namespace devical::engine::testing
