// The memory register: one pair of amounts (national, euro) with the code of the currency
// they are in and a title. The amounts are texts as shown, in the system's separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devical::engine {

struct ConverterState;
struct ConverterContext;

// The register keeps this many characters of its title: the title box of the question and
// of the saved-amounts dialog take no more.
inline constexpr int kMemoryTitleLength = 100;

struct MemoryRegister {
    std::string Code;  // empty or one blank until the register takes a currency
    std::string Title;
    std::string National = "0";
    std::string Euro = "0";
};

enum class MemoryKey { Plus, Minus };

// What a memory key asks of the window besides showing the register.
struct MemoryOutcome {
    bool store = false;                 // the register changed: write it to the settings file
    std::optional<std::string> notice;  // the currency check refused the key
    std::optional<std::string> error;   // an amount that does not read, or an overflow
};

// The title as the settings file holds it: the code, a blank, the title (" " once cleared).
std::string StoredTitle(const MemoryRegister& memory);
void TakeStoredTitle(MemoryRegister& memory, std::string_view stored);

// M+ and M-: the line of the box under entry added to the register or taken from it. A
// register in another currency refuses, changing nothing.
MemoryOutcome AddToMemory(ConverterState& state, const ConverterContext& context, MemoryKey key);
// MR: the amount of the box's column copied as it stands: no check, no recalculation.
void RecallMemory(ConverterState& state);
// MC.
MemoryOutcome ClearMemory(MemoryRegister& memory);
// "Clic = 0": both amounts show 0; nothing is stored, so the next activation brings the
// stored ones back.
void ShowMemoryAsZero(MemoryRegister& memory);

// The title handed to the saved-amounts list: the code, else the current currency's, a
// blank and the title.
std::string ListedTitle(const MemoryRegister& memory, std::string_view currencyTitle);
// Renaming must not move the amounts into another currency: the prefix put in front of the
// new title is the register's code when it holds one, else the current currency's. The next
// activation keeps the amounts on display once.
std::string StartRenaming(ConverterState& state, const ConverterContext& context);

}  // namespace devical::engine
