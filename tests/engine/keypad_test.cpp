// Digit entry, the box under entry, CE, C and backspace.
#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

TEST(DigitEntry, TypesIntoTheBoxUnderEntry) {
    struct Row {
        const char* keys;
        const char* shown;
    };
    const Row rows[] = {
        {"C,", "0,"}, {"C,,", "0,"},   {"C,,5", "0,5"},   {"C00", "00"},    {"C12,5,0", "12,50"}, {"C1<", "0"},
        {"C<", "0"},  {"C123<", "12"}, {"C5=000", "000"}, {"C12+7E", "12"}, {"C12+7E3=", "15"},  // CE forgets the 7,
                                                                                                 // the next digit
                                                                                                 // starts a new number
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        Keypad pad;
        EXPECT_EQ(pad.Press(row.keys).Shown(), row.shown);
    }
}

TEST(DigitEntry, BackspaceOverANegativeResultLeavesALoneMinusThatTheNextOperatorRefuses) {
    Keypad pad;
    pad.Press("C-5=");
    EXPECT_EQ(pad.Shown(), "-5");
    pad.Press("<");
    EXPECT_EQ(pad.Shown(), "-");
    const auto before = pad.state.Boxes;
    pad.Press("+");
    ASSERT_EQ(pad.messages.size(), 1u);
    EXPECT_EQ(pad.messages[0], "'-' n'est pas une valeur flottante correcte");
    EXPECT_EQ(pad.state.Boxes, before);
    EXPECT_EQ(pad.state.PendingOperator, Operation::Equals);
}

TEST(DigitEntry, ClearAllKeepsTheBoxRatesAndDecimals) {
    Keypad pad("6,55957", "20,6", "3");
    pad.Select(2, 2).Press("12=C");
    EXPECT_EQ(pad.state.Boxes, (std::array<std::string, 6>{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(pad.state.BoxUnderEntry, 4);
    EXPECT_EQ(pad.state.Decimals, "3");
    EXPECT_EQ(pad.state.DeviationReport, "");
    EXPECT_EQ(pad.state.PendingOperator, Operation::None);
}

TEST(SelectBox, ChoosesByRowAndColumnAndOnlyTheNetRowWithoutTax) {
    Keypad taxed("1", "20");
    EXPECT_EQ(SelectBox(taxed.state, 3, 1).boxToSave, 5);
    EXPECT_EQ(SelectBox(taxed.state, 2, 2).boxToSave, 4);

    Keypad untaxed("1", "0");
    EXPECT_EQ(SelectBox(untaxed.state, 3, 1).boxToSave, 1);
    EXPECT_EQ(SelectBox(untaxed.state, 2, 2).boxToSave, 2);
}

TEST(SelectBox, KeepsTypingInTheNewBoxInTheMiddleOfANumber) {
    Keypad pad("1", "20");
    pad.Press("C12").Select(1, 2).Press("3");
    EXPECT_EQ(pad.Box(1), "12");
    EXPECT_EQ(pad.Box(2), "03");
}

TEST(SelectBox, EnlargesTheWindowFromLevelThreeForAHiddenRow) {
    Keypad pad("1", "20");
    pad.state.SizeLevel = 3;
    EXPECT_FALSE(SelectBox(pad.state, 1, 2).enlargedToLevel2);
    EXPECT_TRUE(SelectBox(pad.state, 2, 1).enlargedToLevel2);
    EXPECT_EQ(pad.state.SizeLevel, 2);
}

TEST(ChangeSizeLevel, MovesEntryToTheNetRowAtLevelThreeOnly) {
    Keypad pad("1", "20");
    pad.Select(3, 2);
    EXPECT_FALSE(ChangeSizeLevel(pad.state, 2).has_value());
    const auto moved = ChangeSizeLevel(pad.state, 3);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->boxToSave, 2);
    EXPECT_EQ(pad.state.BoxUnderEntry, 2);
    EXPECT_FALSE(ChangeSizeLevel(pad.state, 1).has_value());
    EXPECT_EQ(pad.state.BoxUnderEntry, 2);  // going back does not move it back
}

}  // namespace
}  // namespace devical::engine::testing
