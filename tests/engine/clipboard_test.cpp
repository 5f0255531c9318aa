// The copy table, the pasted amount and the decimals choice, driven with no window.
#include "engine/clipboard.h"

#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

TEST(CopyTable, HasTheTaxAndGrossLinesOnlyWhenATaxApplies) {
    struct Row {
        const char* tax;
        const char* table;
    };
    const Row rows[] = {
        {"20,6", "100\t15,24\r\n20,6\t3,14\r\n120,6\t18,39\r\n"},
        {"0", "100\t15,24\r\n"},
        {"-5", "100\t15,24\r\n"},  // a negative rate computes nothing on those lines
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tax);
        Keypad pad("6,55957", row.tax);
        pad.Press("C100=");
        EXPECT_EQ(CopyTable(pad.state), row.table);
    }
}

TEST(PasteAmount, TakesTheFirstLineWithEitherSeparatorAndEvaluates) {
    struct Row {
        const char* pasted;
        char separator;
        const char* shown;
        const char* euro;
    };
    const Row rows[] = {
        {"12.50", ',', "12,5", "1,91"}, {"12,50", ',', "12,5", "1,91"}, {"  42  ", ',', "42", "6,4"},
        {"7\r\n8", ',', "7", "1,07"},   {"7\n8", ',', "7", "1,07"},     {"3,75", '.', "3.75", "0.57"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pasted);
        Keypad pad("6,55957", "0", "2", row.separator);
        const auto outcome = PasteAmount(pad.state, row.pasted, pad.context);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(pad.Box(1), row.shown);
        EXPECT_EQ(pad.Box(2), row.euro);
        EXPECT_EQ(outcome->clipboardText, row.euro);
    }
}

TEST(PasteAmount, IgnoresATextThatIsNoNumber) {
    for (const char* pasted : {"", "douze", "1.234.567", "\r\n7", "12a"}) {
        SCOPED_TRACE(pasted);
        Keypad pad("6,55957");
        pad.Press("C5=");
        const auto before = pad.state.Boxes;
        EXPECT_FALSE(PasteAmount(pad.state, pasted, pad.context).has_value());
        EXPECT_EQ(pad.state.Boxes, before);
    }
}

TEST(PasteAmount, SaysNothingWhenTheEvaluationFails) {
    Keypad pad("0");  // every conversion divides by zero
    const auto outcome = PasteAmount(pad.state, "10", pad.context);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->messages.empty());
    EXPECT_EQ(pad.Box(1), "10");
}

TEST(ChooseDecimals, RoundsAnewAndClearsAllForNoRounding) {
    struct Row {
        const char* decimals;
        std::array<std::string, 6> boxes;
    };
    const Row rows[] = {
        {"3", {"100", "15,245", "20,6", "3,14", "120,6", "18,385"}},
        {"0", {"100", "15", "21", "3", "121", "18"}},
        {"x", {"0", "0", "0", "0", "0", "0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.decimals);
        Keypad pad("6,55957", "20,6");
        pad.Press("C100=");
        pad.Take(ChooseDecimals(pad.state, row.decimals, pad.context));
        EXPECT_EQ(pad.state.Decimals, row.decimals);
        EXPECT_EQ(pad.state.Boxes, row.boxes);
        EXPECT_TRUE(pad.messages.empty());
    }
}

}  // namespace
}  // namespace devical::engine::testing
