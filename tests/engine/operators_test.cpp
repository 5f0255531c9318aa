// The chain calculator, driven key by key as a user types.
#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

TEST(ApplyOperator, ComputesLeftToRightAsTyped) {
    struct Row {
        const char* keys;
        const char* shown;
    };
    const Row rows[] = {
        {"C2+3=", "5"},      {"C2+3=4+1=", "5"},   {"C2+3x4=", "20"},  {"C0+3=", "3"},      {"C5-5+3=", "3"},
        {"C0x5=", "0"},      {"C5/0=", "0"},       {"C0/5=", "0"},     {"C-5x3=", "-15"},   {"C-5=", "-5"},
        {"C3x-2=", "7"},     {"C5++", "10"},       {"C2+3===", "5"},   {"C200+10%", "20"},  {"C200+10%=", "220"},
        {"C200-10%", "20"},  {"C200-10%=", "180"}, {"C200x10%", "20"}, {"C200x10%=", "20"}, {"C200/10%", "20"},
        {"C200/10%=", "20"}, {"C50%", "25"},       {"C7=3%", "0,21"},  {"C1/3=", "0,33"},   {"C1,5x1,5=", "2,25"},
        {"C12+7E3=", "15"},  {"C10-15=", "-5"},    {"C-C5=", "5"},  // C forgets a leading minus
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        Keypad pad;
        pad.Press(row.keys);
        EXPECT_EQ(pad.Shown(), row.shown);
        EXPECT_TRUE(pad.messages.empty());
    }
}

// A minus typed on a 0 starts a negative number only when nothing has been calculated yet;
// after a result it subtracts, like every other operator typed on a 0.
TEST(ApplyOperator, AZeroTypedAfterAResultIsANumberLikeAnyOther) {
    struct Row {
        const char* keys;
        std::array<std::string, 6> boxes;  // francs at 6,55957, 20,6 % tax, two decimals
    };
    const Row rows[] = {
        {"C5+0+3=", {"8", "1,22", "1,65", "0,25", "9,65", "1,47"}},
        {"C5+0-3=", {"2", "0,3", "0,41", "0,06", "2,41", "0,37"}},
        {"C5+0x3=", {"15", "2,29", "3,09", "0,47", "18,09", "2,76"}},
        {"C5+0/4=", {"1,25", "0,19", "0,26", "0,04", "1,51", "0,23"}},
        {"C5+0%3=", {"8", "1,22", "1,65", "0,25", "9,65", "1,47"}},
        {"C5+0=3=", {"3", "0,46", "0,62", "0,09", "3,62", "0,55"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        Keypad pad("6,55957", "20,6");
        pad.Press(row.keys);
        EXPECT_EQ(pad.state.Boxes, row.boxes);
        EXPECT_TRUE(pad.messages.empty());
    }
}

TEST(ApplyOperator, PutsTheConvertedAmountOnTheClipboard) {
    Keypad pad("6,55957", "20,6");
    pad.Select(3, 2).Press("C18,39=");
    EXPECT_EQ(pad.clipboard, pad.Box(5));
    EXPECT_EQ(pad.clipboard, "120,63");
}

TEST(ApplyOperator, PercentShowsThePercentageWhileTheColumnFollowsTheRunningResult) {
    Keypad pad("1", "10");
    pad.Press("C200+10%");
    EXPECT_EQ(pad.Box(1), "20");
    EXPECT_EQ(pad.Box(3), "20");  // tax of the running result 200
    EXPECT_EQ(pad.Box(5), "220");
}

TEST(ApplyOperator, SquaringUntilOverflowKeepsTheLastGoodValues) {
    Keypad pad("1", "0", "x");
    pad.Select(1, 2).Press("C10x");
    std::array<std::string, 6> lastGood;
    for (int press = 0; press < 20 && pad.messages.empty(); ++press) {
        lastGood = pad.state.Boxes;
        pad.Press("x");
    }
    ASSERT_EQ(pad.messages, std::vector<std::string>{"Dépassement de capacité"});
    EXPECT_EQ(pad.state.Boxes, lastGood);
    EXPECT_EQ(pad.Shown(), "1E4096");
}

TEST(ApplyOperator, ADeviationThatDoesNotFitIsReportedButTheEvaluationStands) {
    Keypad pad("1E11", "0");
    pad.Press("C15=");  // 1,5E-10 euros round to 0: a loss of 1500 hundredths
    EXPECT_EQ(pad.state.DeviationReport, "Ecarts de conversion (Centimes)\n\nMontant HT = -1500\n");
    pad.Press("45000000=");  // a loss of 4,5E9 hundredths does not fit 32 bits
    EXPECT_EQ(pad.messages, std::vector<std::string>{"Dépassement de capacité"});
    EXPECT_EQ(pad.Box(1), "45000000");
    EXPECT_EQ(pad.clipboard, "0");
    EXPECT_EQ(pad.state.DeviationReport, "Ecarts de conversion (Centimes)\n\nMontant HT = -1500\n");
}

}  // namespace
}  // namespace devical::engine::testing
