// The six boxes after "=": the column from the tax rate, the other column from the
// currency rate, both rounded.
#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

using Boxes = std::array<std::string, 6>;  // Cur_HT, Euro_HT, Cur_Taxe, Euro_Taxe, Cur_TTC, Euro_TTC

struct ConversionRow {
    const char* name;
    const char* rate;
    const char* tax;
    const char* decimals;
    int row, column;
    const char* keys;
    Boxes shown;
};

class Conversion : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(Conversion, FillsAllSixBoxes) {
    const ConversionRow& r = GetParam();
    Keypad pad(r.rate, r.tax, r.decimals);
    pad.Select(r.row, r.column).Press(r.keys);
    EXPECT_TRUE(pad.messages.empty());
    EXPECT_EQ(pad.state.Boxes, r.shown);
}

// One row a line: the keys typed and the six boxes shown.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, Conversion,
    ::testing::Values(
        ConversionRow{"NetInFrancs", "6,55957", "20,6", "2", 1, 1, "C100=",
                      {"100", "15,24", "20,6", "3,14", "120,6", "18,39"}},
        ConversionRow{"GrossInFrancs", "6,55957", "20,6", "2", 3, 1, "C120,6=",
                      {"100", "15,24", "20,6", "3,14", "120,6", "18,39"}},
        ConversionRow{"TaxInFrancs", "6,55957", "20,6", "2", 2, 1, "C20,6=",
                      {"100", "15,24", "20,6", "3,14", "120,6", "18,39"}},
        ConversionRow{"EurosWithoutTax", "6,55957", "0", "2", 1, 2, "C100=",
                      {"655,96", "100", "0", "0", "0", "0"}},
        ConversionRow{"RateOneGivesTwinColumns", "1", "5,5", "2", 1, 1, "C200=",
                      {"200", "200", "11", "11", "211", "211"}},
        ConversionRow{"NoRounding", "6,55957", "0", "x", 1, 1, "C1=",
                      {"1", "0,15244901723741", "0", "0", "0", "0"}},
        ConversionRow{"WholeUnits", "166,386", "16", "0", 1, 2, "C10=",
                      {"1664", "10", "333", "2", "1997", "12"}},
        ConversionRow{"NegativeTaxLeavesTheColumn", "2", "-5", "2", 1, 1, "C10=",
                      {"10", "5", "0", "0", "0", "0"}},
        // The gross from the tax is ((rate + 100) x tax) / rate. These two amounts lie where
        // (rate + 100) x (tax / rate) differs in the last bits enough to change the 15th digit.
        ConversionRow{"GrossFromTaxInTheWrittenOrder", "1", "33,33", "x", 2, 1, "C1218,21=",
                      {"3654,99549954996", "3654,99549954996", "1218,21", "1218,21", "4873,20549954996",
                       "4873,20549954996"}},
        // The gross from the net is (rate x one hundredth + 1) x net, not net + tax.
        ConversionRow{"GrossFromNetInTheWrittenOrder", "1", "81,35", "x", 1, 1, "C8952,6615432437=",
                      {"8952,6615432437", "8952,6615432437", "7282,99016542875", "7282,99016542875", "16235,6517086725", "16235,6517086725"}},
        ConversionRow{"GrossFromTaxInTheWrittenOrderAgain", "1", "33,33", "x", 2, 1, "C1384,86=",
                      {"4154,99549954995", "4154,99549954995", "1384,86", "1384,86", "5539,85549954995",
                       "5539,85549954995"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Conversion, ZeroTaxClearsTheTaxAndGrossBoxesEvenUnderEntry) {
    Keypad pad("2", "20");
    pad.Select(3, 1);
    pad.state.TaxRate = 0;  // the tax changed to zero while the gross box was under entry
    pad.Press("C50=");
    EXPECT_EQ(pad.state.Boxes, (Boxes{"0", "0", "0", "0", "0", "0"}));
}

TEST(Conversion, ZeroCurrencyRateStopsWithOverflowAfterTheColumnStep) {
    Keypad pad("0", "20");
    pad.Press("C100=");
    ASSERT_EQ(pad.messages, std::vector<std::string>{"Dépassement de capacité"});
    EXPECT_EQ(pad.state.Boxes, (Boxes{"100", "0", "20", "0", "120", "0"}));
    EXPECT_EQ(pad.clipboard, "");  // stopped before the clipboard step
}

TEST(Conversion, AfterARateChangeTheEuroAmountsStayAndTheNationalOnesFollow) {
    // What the window does when a new currency was chosen: evaluate from the euro box.
    Keypad pad("6,55957", "20,6");
    pad.Press("C100=");
    pad.state.CurrencyRate = ParseAmount("1,95583", ',');
    pad.Select(1, 2).Press("=").Select(1, 1);
    EXPECT_EQ(pad.state.Boxes, (Boxes{"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}));
    EXPECT_EQ(pad.clipboard, "29,81");
}

}  // namespace
}  // namespace devical::engine::testing
