// The converter's session: the one owner of the calculator's state, its context and the
// settings file behind them. The windows ask it for the user's actions and draw what it holds
// when it tells them what changed; each action writes what changed to the settings file at
// once, in one rewrite. Another window's
// choice reaches the calculator the way the program has always handed it over: written to the
// settings file, then read back by the main window's next activation, which re-evaluates the
// amounts with it.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/converter_state.h"
#include "engine/memory_register.h"
#include "engine/operators.h"
#include "engine/tape.h"
#include "session/tape_log.h"
#include "storage/list_model.h"
#include "storage/settings.h"

namespace devical::session {

// " (20,6 %)": the tax rate as it follows the tax title in its caption.
std::string TaxRateSuffix(engine::Amount rate, char decimalSeparator);

// The working days (Monday to Friday) after an ISO date ("2026-12-04") up to today; -1 for a
// text that is no date.
int WorkingDaysSince(std::string_view isoDate, std::chrono::sys_days today);

// Today by the user's clock: the day turns at local midnight, as the user's does, not at UTC's.
std::chrono::sys_days LocalToday();

// What an action changed of what the windows show: each observer draws the parts it shows.
enum class Shown : unsigned {
    Boxes = 1,       // the six amounts, the one being typed
    Layout = 2,      // the box under entry and the size level
    Settings = 4,    // titles, tax, currency and rate, decimals
    Memory = 8,      // the memory register
    ListFiles = 16,  // a list file rewritten by another writer (the rates update)
    All = 31,
};
constexpr Shown operator|(Shown a, Shown b) { return Shown(unsigned(a) | unsigned(b)); }
constexpr bool Has(Shown set, Shown part) { return (unsigned(set) & unsigned(part)) != 0; }

class ConverterSession {
public:
    // For the program directory (with its trailing '/', or empty for the current directory),
    // with the decimal separator in force asked again at each action: the user's locale at the
    // moment of use.
    ConverterSession(std::string programDirectory, std::function<char()> decimalSeparator);

    // DEVICAL.INI in the program directory, whatever the case of its name.
    storage::SettingsFile Settings() const;

    const engine::ConverterState& State() const { return state_; }
    const engine::ConverterContext& Context() const { return context_; }
    const engine::MessageCatalogue& Messages() const { return context_.messages; }
    // The day of the central bank's rates last taken into the lists, when the current currency
    // is one whose rate floats (not the euro nor a currency fixed to it); empty otherwise.
    const std::string& FloatingRateDate() const { return context_.floatingRateDay; }

    void UseMessages(engine::MessageCatalogue messages) { context_.messages = std::move(messages); }
    // Told after each action with what it changed; the windows draw from here, not from the
    // actions they ask for. Observers are told in the order they came.
    void Observe(std::function<void(Shown)> observer) { observers_.push_back(std::move(observer)); }
    // Another writer (the rates update) rewrote list files: their windows read them again.
    void ListFilesChanged() { Notify(Shown::ListFiles); }

    // The stored settings that the labels show (titles, tax, currency, memory, decimals),
    // nothing written and no box changed: the window shows them from its first frame, before
    // its first activation applies the settings whole. Throws FileError.
    void TakeShownSettings();

    // The activation step: the settings file into the calculator, in its order, then the
    // first clear and the re-evaluations that a chosen currency or tax asked for. Throws
    // FileError when the file cannot be read.
    struct Activation {
        engine::EngineOutcome outcome;      // failed writes' and evaluations' messages, clipboard text
        std::vector<std::string> problems;  // stored values that could not be used, and where
    };
    Activation Activate();

    // A row chosen in a list: its keys written to the settings file in one rewrite, then taken
    // into the calculator at once, the amounts following a new currency or tax. When it cannot
    // be written, the reason comes back and nothing changes.
    struct Choice {
        std::optional<std::string> failure;
        engine::EngineOutcome outcome;
    };
    Choice Choose(const storage::RowChoice& choice);
    // A title typed in the question dialog, written to the settings file and shown.
    std::optional<std::string> StoreTitle(storage::TitleTarget target, const std::string& title);
    // After a language switch: the new set's currency and tax carry the amounts, as when
    // they are chosen in the lists.
    void FollowNewSet();

    // The daily update of the rates at start-up: whether it is asked for, its change stored,
    // and whether it is due today (asked for, not yet tried today, and the rates not of a day
    // the user picked; the day is noted).
    bool RatesDaily() const { return ratesDaily_; }
    // The day of the central bank's rates last taken ("2026-12-04"), empty before any.
    const std::string& RatesDay() const { return ratesDate_; }
    std::optional<std::string> StoreRatesDaily(bool daily);
    bool TakeDailyRatesTurn(std::chrono::sys_days today);

    // The box of row 1..3 and column 1..2 becomes the box under entry, stored; the size
    // level is stored first when the choice enlarged the window.
    engine::EngineOutcome ChooseBox(int row, int column);
    // The size level 1..3, stored with the box under entry that it moved up.
    engine::EngineOutcome ChooseSizeLevel(int level);
    // The decimals of the list: applied to the amounts, then stored.
    engine::EngineOutcome SetDecimals(std::string decimals);

    // The keypad: keys that edit the entry, the operators, and a pasted amount (nothing when
    // the text is no number).
    void EditEntry(const std::function<void(engine::ConverterState&, char)>& edit);
    // C and CE, which the tape prints.
    void ClearAll();
    void CancelEntry();
    engine::EngineOutcome Operate(engine::OperatorKey key);
    std::optional<engine::EngineOutcome> Paste(std::string_view text);

    // The memory keys; a register that changed is stored, a failed write being the outcome's error.
    engine::MemoryOutcome AddToMemory(engine::MemoryKey key);
    engine::MemoryOutcome ClearMemory();
    void RecallMemory();
    void ShowMemoryAsZero();
    // The memory's title is renamed: the code and blank put in front of the new title.
    std::string StartRenaming();

    // The paper tape of what the keys above printed, and a line of it put back into the box
    // under entry as MR does (false for a line with no amount).
    TapeLog& Tape() { return tape_; }
    bool RecallFromTape(std::size_t line);

private:
    void TakeSeparator() { context_.decimalSeparator = decimalSeparator_(); }
    void Notify(Shown changed) const;
    // Writes the keys the action changed, in one rewrite; the message of a write that fails
    // joins the outcome's.
    void Flush(engine::EngineOutcome& outcome);
    std::optional<std::string> Flush();
    std::optional<std::string> Store(const std::function<void()>& write) const;
    void TakeChoice(const storage::RowChoice& choice, engine::EngineOutcome& outcome);
    void StoreMemory(engine::MemoryOutcome& outcome);
    void Evaluate(engine::EngineOutcome& outcome);
    void Take(const storage::Settings& settings);
    void TakeTax(const std::string& title, engine::Amount rate);
    void TakeCurrency(const std::string& title, engine::Amount rate);
    void FollowNewRate(engine::EngineOutcome& outcome);
    void FollowChanges(engine::EngineOutcome& outcome);
    // The box and size level into the state, noted for the action's one write.
    void NoteBox(int row, int column);
    void NoteSizeLevel(int level);
    void Print(engine::TapeLine line) { tape_.Add(std::move(line)); }
    void Print(const std::vector<engine::TapeLine>& lines);

    std::string programDirectory_;
    std::function<char()> decimalSeparator_;
    std::string ratesDate_;
    std::vector<std::function<void(Shown)>> observers_;
    storage::SettingsChanges pending_;  // the keys the action under way changed
    bool ratesDaily_ = false;
    std::string ratesChecked_;
    bool ratesPicked_ = false;
    engine::ConverterState state_;
    engine::ConverterContext context_;
    TapeLog tape_;
};

}  // namespace devical::session
