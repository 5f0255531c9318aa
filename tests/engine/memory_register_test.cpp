// The memory register driven as the memory keys drive it, with no window: the line of the
// box under entry, the currency check, and the title as the settings file holds it.
#include "engine/memory_register.h"

#include <gtest/gtest.h>

#include "keypad.h"

namespace devical::engine::testing {
namespace {

// Francs at 6,55957 with a 20,6 % tax, after 100 francs net were converted.
Keypad AfterOneHundredFrancs() {
    Keypad pad("6,55957", "20,6");
    pad.Press("C100=");
    return pad;
}

MemoryRegister Register(std::string code, std::string national = "0", std::string euro = "0") {
    MemoryRegister memory;
    memory.Code = std::move(code);
    memory.Title = "Caisse";
    memory.National = std::move(national);
    memory.Euro = std::move(euro);
    return memory;
}

TEST(MemoryRegister, AddsOrTakesTheLineOfTheBoxUnderEntry) {
    struct Row {
        const char* name;
        int row, column;
        MemoryKey key;
        const char* national;
        const char* euro;
    };
    const Row rows[] = {
        {"net plus", 1, 1, MemoryKey::Plus, "105", "16,24"},
        {"net minus", 1, 1, MemoryKey::Minus, "-95", "-14,24"},
        {"tax row from its euro box", 2, 2, MemoryKey::Plus, "25,6", "4,14"},
        {"gross minus", 3, 1, MemoryKey::Minus, "-115,6", "-17,39"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Keypad pad = AfterOneHundredFrancs();
        pad.state.BoxUnderEntry = BoxNumber(row.row, row.column);
        pad.state.Memory = Register("FRF", "5", "1");
        const MemoryOutcome outcome = AddToMemory(pad.state, pad.context, row.key);
        EXPECT_TRUE(outcome.store);
        EXPECT_FALSE(outcome.notice || outcome.error);
        EXPECT_EQ(pad.state.Memory.National, row.national);
        EXPECT_EQ(pad.state.Memory.Euro, row.euro);
        EXPECT_EQ(pad.state.Memory.Code, "FRF");
    }
}

TEST(MemoryRegister, AnEmptyRegisterTakesTheCurrentCurrency) {
    for (const char* code : {"", " "}) {
        SCOPED_TRACE(std::string("code '") + code + "'");
        Keypad pad = AfterOneHundredFrancs();
        pad.state.Memory = Register(code);
        EXPECT_TRUE(AddToMemory(pad.state, pad.context, MemoryKey::Plus).store);
        EXPECT_EQ(pad.state.Memory.Code, "FRF");
        EXPECT_EQ(StoredTitle(pad.state.Memory), "FRF Caisse");
        EXPECT_EQ(pad.state.Memory.National, "100");
    }
}

TEST(MemoryRegister, RefusesAmountsOfAnotherCurrencyAndChangesNothing) {
    Keypad pad = AfterOneHundredFrancs();
    pad.context.messages.SetText("Dev_Mem3", "Halte");  // the language file's texts serve
    pad.state.Memory = Register("DEM", "100", "51,13");
    const MemoryOutcome outcome = AddToMemory(pad.state, pad.context, MemoryKey::Plus);
    EXPECT_FALSE(outcome.store);
    EXPECT_EQ(outcome.notice, "La devise en mémoire (DEM) est différente de la devise en cours (FRF)\nHalte");
    EXPECT_EQ(StoredTitle(pad.state.Memory), "DEM Caisse");
    EXPECT_EQ(pad.state.Memory.National, "100");
    EXPECT_EQ(pad.state.Memory.Euro, "51,13");
}

TEST(MemoryRegister, AnAmountThatDoesNotReadIsReportedAndNotStored) {
    struct Row {
        const char* national;
        const char* euro;
        const char* error;
    };
    const Row rows[] = {
        {"abc", "0", "'abc' n'est pas une valeur flottante correcte"},
        {"1.5", "0", "'1.5' n'est pas une valeur flottante correcte"},  // read as shown, with ','
        {"1E4932", "0", "Dépassement de capacité"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.national);
        Keypad pad = AfterOneHundredFrancs();
        pad.state.Boxes[0] = "1E4932";
        pad.state.Memory = Register("FRF", row.national, row.euro);
        const MemoryOutcome outcome = AddToMemory(pad.state, pad.context, MemoryKey::Plus);
        EXPECT_FALSE(outcome.store);
        EXPECT_EQ(outcome.error, row.error);
    }
}

TEST(MemoryRegister, RecallCopiesTheAmountOfTheColumnAsItStands) {
    struct Row {
        int box;
        std::array<std::string, 6> boxes;
    };
    const Row rows[] = {
        {1, {"12,5", "15,24", "20,6", "3,14", "120,6", "18,39"}},
        {4, {"100", "15,24", "20,6", "1,9", "120,6", "18,39"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        Keypad pad = AfterOneHundredFrancs();
        pad.state.BoxUnderEntry = row.box;
        pad.state.Memory = Register("DEM", "12,5", "1,9");  // no currency check, no recalculation
        RecallMemory(pad.state);
        EXPECT_EQ(pad.state.Boxes, row.boxes);
    }
}

TEST(MemoryRegister, ClearingLeavesABlankTitleAndZeros) {
    MemoryRegister memory = Register("DEM", "100", "51,13");
    EXPECT_TRUE(ClearMemory(memory).store);
    EXPECT_EQ(StoredTitle(memory), " ");
    EXPECT_EQ(memory.National, "0");
    EXPECT_EQ(memory.Euro, "0");
}

TEST(MemoryRegister, ClickZeroOnlyShowsZeros) {
    MemoryRegister memory = Register("DEM", "100", "51,13");
    ShowMemoryAsZero(memory);
    EXPECT_EQ(memory.National, "0");
    EXPECT_EQ(memory.Euro, "0");
    EXPECT_EQ(StoredTitle(memory), "DEM Caisse");
}

TEST(MemoryRegister, ReadsItsCodeAndTitleFromTheStoredTitle) {
    struct Row {
        const char* stored;
        const char* code;
        const char* title;
    };
    const std::string longTitle(120, 'a');
    const Row rows[] = {
        {"FRF Caisse", "FRF", "Caisse"},
        {" ", " ", ""},
        {"", "", ""},
        {"€UR Épargne", "€UR", "Épargne"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        MemoryRegister memory;
        TakeStoredTitle(memory, row.stored);
        EXPECT_EQ(memory.Code, row.code);
        EXPECT_EQ(memory.Title, row.title);
    }
    MemoryRegister memory;
    TakeStoredTitle(memory, "FRF " + longTitle);
    EXPECT_EQ(memory.Title, std::string(100, 'a'));  // the title shows 100 characters at most
}

TEST(MemoryRegister, RenamingKeepsTheCodeItsAmountsAreIn) {
    struct Row {
        const char* code;
        const char* prefix;
    };
    const Row rows[] = {{"DEM", "DEM "}, {"DE", "DE  "}, {"", "FRF "}, {" ", "FRF "}, {"Fé", "Fé  "}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("code '") + row.code + "'");
        Keypad pad;
        pad.state.Memory = Register(row.code);
        EXPECT_EQ(StartRenaming(pad.state, pad.context), row.prefix);
        EXPECT_TRUE(pad.state.KeepMemoryAmounts);
    }
}

TEST(MemoryRegister, IsListedUnderItsCodeOrElseTheCurrentOne) {
    EXPECT_EQ(ListedTitle(Register("DEM"), "FRF Franc français"), "DEM Caisse");
    EXPECT_EQ(ListedTitle(Register(""), "FRF Franc français"), "FRF Caisse");
}

}  // namespace
}  // namespace devical::engine::testing
