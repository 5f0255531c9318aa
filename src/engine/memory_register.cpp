#include "engine/memory_register.h"

#include <algorithm>

#include "engine/converter_state.h"
#include "engine/currency.h"

namespace devical::engine {

namespace {

// A code that is empty or one blank: the register has not taken a currency yet.
bool HoldsCurrency(std::string_view code) { return !code.empty() && code != " "; }

// The plain number reading, without separator normalisation: the register and the boxes
// carry the system's separator.
Amount ReadShown(const std::string& text, char sep) {
    const auto value = ReadNumber(text, sep);
    if (!value) throw ConversionError(text);
    return *value;
}

std::string Combined(const std::string& memory, const std::string& line, MemoryKey key, char sep) {
    const Amount a = ReadShown(memory, sep), b = ReadShown(line, sep);
    return AmountText(key == MemoryKey::Plus ? CheckedAdd(a, b) : CheckedSub(a, b), sep);
}

MemoryOutcome Stored() {
    MemoryOutcome outcome;
    outcome.store = true;
    return outcome;
}

}  // namespace

std::string StoredTitle(const MemoryRegister& memory) { return memory.Code + " " + memory.Title; }

void TakeStoredTitle(MemoryRegister& memory, std::string_view stored) {
    memory.Code = CurrencyCode(stored);
    memory.Title = AfterMemoryCurrencyPrefix(stored, kMemoryTitleLength);
}

MemoryOutcome AddToMemory(ConverterState& state, const ConverterContext& context, MemoryKey key) {
    MemoryRegister& memory = state.Memory;
    const std::string current = CurrencyCode(context.currencyTitle);
    if (!HoldsCurrency(memory.Code)) {
        memory.Code = current;  // a register with no currency takes the current one
    } else if (memory.Code != current) {
        const MessageCatalogue& messages = context.messages;
        MemoryOutcome refused;
        refused.notice = messages.MessageText("Dev_Mem1") + " (" + memory.Code + ") " +
                         messages.MessageText("Dev_Mem2") + " (" + current + ")\n" + messages.MessageText("Dev_Mem3");
        return refused;
    }
    const char sep = context.decimalSeparator;
    const int row = RowOf(state.BoxUnderEntry);
    try {
        memory.National = Combined(memory.National, state.Box(BoxNumber(row, 1)), key, sep);
        memory.Euro = Combined(memory.Euro, state.Box(BoxNumber(row, 2)), key, sep);
    } catch (const AmountError& error) {
        MemoryOutcome failed;
        failed.error = error.what();
        return failed;
    }
    return Stored();
}

void RecallMemory(ConverterState& state) {
    const int box = state.BoxUnderEntry;
    state.Box(box) = IsNationalBox(box) ? state.Memory.National : state.Memory.Euro;
}

MemoryOutcome ClearMemory(MemoryRegister& memory) {
    memory = MemoryRegister{};
    return Stored();
}

void ShowMemoryAsZero(MemoryRegister& memory) {
    memory.National = "0";
    memory.Euro = "0";
}

std::string ListedTitle(const MemoryRegister& memory, std::string_view currencyTitle) {
    return (memory.Code.empty() ? CurrencyCode(currencyTitle) : memory.Code) + " " + memory.Title;
}

std::string StartRenaming(ConverterState& state, const ConverterContext& context) {
    state.KeepMemoryAmounts = true;
    const std::string& code = state.Memory.Code;
    if (!HoldsCurrency(code)) return MemoryCurrencyPrefix(context.currencyTitle);
    return code + std::string(3 - std::min<std::size_t>(CharacterCount(code), 3), ' ') + " ";
}

}  // namespace devical::engine
