#include "session/converter_session.h"

#include <cstdio>
#include <ctime>

#include "engine/clipboard.h"
#include "engine/currency.h"
#include "engine/entry.h"
#include "engine/iso_day.h"
#include "storage/file_io.h"

namespace devical::session {

std::string TaxRateSuffix(engine::Amount rate, char decimalSeparator) {
    return " (" + engine::AmountText(rate, decimalSeparator) + " %)";
}

std::chrono::sys_days LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::sys_days(std::chrono::year(local.tm_year + 1900) /
                                 std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)) /
                                 std::chrono::day(static_cast<unsigned>(local.tm_mday)));
}

int WorkingDaysSince(std::string_view isoDate, std::chrono::sys_days today) {
    const auto date = engine::IsoDay(isoDate);
    if (!date) return -1;
    int working = 0;
    for (std::chrono::sys_days at = *date + std::chrono::days(1); at <= today; at += std::chrono::days(1)) {
        const std::chrono::weekday weekday(at);
        if (weekday != std::chrono::Saturday && weekday != std::chrono::Sunday) ++working;
    }
    return working;
}

ConverterSession::ConverterSession(std::string programDirectory, std::function<char()> decimalSeparator)
    : programDirectory_(std::move(programDirectory)),
      decimalSeparator_(std::move(decimalSeparator)),
      tape_(programDirectory_) {}

storage::SettingsFile ConverterSession::Settings() const {
    return storage::SettingsFile(storage::FindFileNoCase(programDirectory_, "DEVICAL.INI"));
}

void ConverterSession::Flush(engine::EngineOutcome& outcome) {
    if (auto failure = Flush()) outcome.messages.push_back(std::move(*failure));
}

std::optional<std::string> ConverterSession::Flush() {
    auto failure = Store([&] { Settings().Write(pending_); });
    pending_.Clear();
    return failure;
}

std::optional<std::string> ConverterSession::Store(const std::function<void()>& write) const {
    try {
        write();
    } catch (const storage::FileError& error) {
        return error.what();
    }
    return std::nullopt;
}

// ---- The settings file into the calculator ------------------------------------------

void ConverterSession::Take(const storage::Settings& settings) {
    context_.netCaption = settings.netTitle;
    context_.grossCaption = settings.grossTitle;
    ratesDate_ = settings.ratesDate;
    TakeTax(settings.tax.title, settings.tax.rate);
    TakeCurrency(settings.currency.title, settings.currency.rate);
    engine::TakeStoredTitle(state_.Memory, settings.memory.title);
    if (!state_.KeepMemoryAmounts) {
        state_.Memory.National = settings.memory.nationalAmount;
        state_.Memory.Euro = settings.memory.euroAmount;
    }
    state_.KeepMemoryAmounts = false;  // kept once, for the renaming that asked
    state_.Decimals = settings.decimals;
    ratesDaily_ = settings.ratesDaily;
    ratesChecked_ = settings.ratesChecked;
    ratesPicked_ = settings.ratesPicked;
}

void ConverterSession::TakeTax(const std::string& title, engine::Amount rate) {
    state_.TaxRate = rate;
    context_.taxTitle = title;
    context_.taxCaption = title + TaxRateSuffix(rate, context_.decimalSeparator);
}

// The day of the bank's rates goes with a currency whose rate floats.
void ConverterSession::TakeCurrency(const std::string& title, engine::Amount rate) {
    context_.currencyTitle = title;
    state_.CurrencyRate = rate;
    const bool floating = !engine::IsFixedToEuro(engine::CurrencyCode(title));
    context_.floatingRateDay = floating ? ratesDate_ : std::string();
}

void ConverterSession::Notify(Shown changed) const {
    for (const auto& observer : observers_)
        observer(changed);
}

void ConverterSession::TakeShownSettings() {
    TakeSeparator();
    Take(Settings().Read(context_.decimalSeparator).values);
    Notify(Shown::Settings | Shown::Memory);
}

ConverterSession::Activation ConverterSession::Activate() {
    // One step per setting, in this order, which is part of the behaviour: the size level
    // may move the box under entry up, the stored box may enlarge the window again, and the
    // re-evaluations work with the new rates, decimals and box.
    TakeSeparator();
    storage::SettingsReading reading = Settings().Read(context_.decimalSeparator);
    Activation activation{{}, std::move(reading.problems)};
    engine::EngineOutcome& outcome = activation.outcome;
    const storage::Settings& settings = reading.values;
    // A rate changed in the file by another program (devical-rates) carries the amounts as a
    // choice in the list does.
    if (state_.Started && settings.currency.rate != state_.CurrencyRate) state_.CurrencyChanged = true;
    const engine::TapeSettings before = engine::SettingsOf(state_, context_);
    Take(settings);
    // The first activation sets the calculator up; the later ones print what changed.
    if (state_.Started)
        Print(engine::SettingLines(before, engine::SettingsOf(state_, context_), context_.decimalSeparator));
    NoteSizeLevel(settings.sizeLevel);
    const int box = settings.boxUnderEntry;
    if (box >= 1 && box <= 6) NoteBox(engine::RowOf(box), engine::ColumnOf(box));
    if (!state_.Started) {
        engine::ClearAll(state_);
        state_.Started = true;
    }
    FollowChanges(outcome);
    Notify(Shown::All);
    return activation;
}

void ConverterSession::Evaluate(engine::EngineOutcome& outcome) {
    engine::EngineOutcome evaluation = engine::ApplyOperator(state_, engine::OperatorKey::Equals, context_);
    outcome.messages.insert(outcome.messages.end(), evaluation.messages.begin(), evaluation.messages.end());
    if (evaluation.clipboardText) outcome.clipboardText = std::move(evaluation.clipboardText);
}

// A new currency: evaluate from the euro box of the same row, so that the euro amounts stay
// and the national ones follow the new rate.
void ConverterSession::FollowNewRate(engine::EngineOutcome& outcome) {
    const int before = state_.BoxUnderEntry;
    const bool national = engine::IsNationalBox(before);
    if (national) NoteBox(engine::RowOf(before), 2);
    Evaluate(outcome);
    state_.CurrencyChanged = false;
    if (national) NoteBox(engine::RowOf(before), 1);
}

// The re-evaluations that a new currency or tax asks for, then the keys the action changed,
// written once.
void ConverterSession::FollowChanges(engine::EngineOutcome& outcome) {
    if (state_.CurrencyChanged) FollowNewRate(outcome);
    if (state_.TaxChanged) {
        Evaluate(outcome);
        state_.TaxChanged = false;
    }
    Flush(outcome);
}

// ---- Hand-overs from the other windows ---------------------------------------------

ConverterSession::Choice ConverterSession::Choose(const storage::RowChoice& choice) {
    storage::AddChoice(pending_, choice);
    Choice chosen{Flush(), {}};
    if (chosen.failure) return chosen;
    TakeChoice(choice, chosen.outcome);
    Notify(Shown::All);
    return chosen;
}

// What the activation would take from the file, taken now: the window shows the choice as the
// list closes, and the activation that follows finds nothing new.
void ConverterSession::TakeChoice(const storage::RowChoice& choice, engine::EngineOutcome& outcome) {
    TakeSeparator();
    const engine::TapeSettings before = engine::SettingsOf(state_, context_);
    if (const auto* currency = std::get_if<storage::CurrencyChoice>(&choice)) {
        TakeCurrency(currency->title, currency->rate);
        state_.CurrencyChanged = true;
    } else if (const auto* tax = std::get_if<storage::TaxChoice>(&choice)) {
        TakeTax(tax->title, tax->rate);
        state_.TaxChanged = true;
    } else if (const auto* saved = std::get_if<storage::SavedAmountChoice>(&choice)) {
        engine::TakeStoredTitle(state_.Memory, saved->title);
        state_.Memory.National = saved->nationalAmount;
        state_.Memory.Euro = saved->euroAmount;
    }
    // Before the first activation the calculator is not set up: that activation evaluates.
    if (!state_.Started) return;
    Print(engine::SettingLines(before, engine::SettingsOf(state_, context_), context_.decimalSeparator));
    FollowChanges(outcome);
}

std::optional<std::string> ConverterSession::StoreTitle(storage::TitleTarget target, const std::string& title) {
    pending_.Title(target, title);
    auto failure = Flush();
    if (failure) return failure;
    switch (target) {
    case storage::TitleTarget::Net: context_.netCaption = title; break;
    case storage::TitleTarget::Gross: context_.grossCaption = title; break;
    case storage::TitleTarget::Memory: engine::TakeStoredTitle(state_.Memory, title); break;
    }
    Notify(target == storage::TitleTarget::Memory ? Shown::Memory : Shown::Settings);
    return std::nullopt;
}

std::optional<std::string> ConverterSession::StoreRatesDaily(bool daily) {
    pending_.RatesDaily(daily);
    auto failure = Flush();
    if (!failure) ratesDaily_ = daily;
    return failure;
}

bool ConverterSession::TakeDailyRatesTurn(std::chrono::sys_days today) {
    const std::string day = engine::IsoText(today);
    if (!ratesDaily_ || ratesPicked_ || ratesChecked_ == day) return false;
    ratesChecked_ = day;
    pending_.RatesChecked(day);
    Flush();  // a note that fails means one more try
    return true;
}

void ConverterSession::FollowNewSet() {
    state_.CurrencyChanged = true;
    state_.TaxChanged = true;
}

// ---- The window's own actions ------------------------------------------------------

// The box and size level are noted; the action that asked writes them when it ends.
void ConverterSession::NoteBox(int row, int column) {
    const engine::SelectOutcome selected = engine::SelectBox(state_, row, column);
    if (selected.enlargedToLevel2) NoteSizeLevel(2);
    pending_.BoxUnderEntry(selected.boxToSave);
}

engine::EngineOutcome ConverterSession::ChooseBox(int row, int column) {
    NoteBox(row, column);
    engine::EngineOutcome outcome;
    Flush(outcome);
    Notify(Shown::Layout | Shown::Boxes);
    return outcome;
}

void ConverterSession::NoteSizeLevel(int level) {
    const auto moved = engine::ChangeSizeLevel(state_, level);
    pending_.SizeLevel(level);
    if (moved) pending_.BoxUnderEntry(moved->boxToSave);
}

engine::EngineOutcome ConverterSession::ChooseSizeLevel(int level) {
    NoteSizeLevel(level);
    engine::EngineOutcome outcome;
    Flush(outcome);
    Notify(Shown::Layout | Shown::Boxes);
    return outcome;
}

engine::EngineOutcome ConverterSession::SetDecimals(std::string decimals) {
    TakeSeparator();
    const engine::TapeSettings before = engine::SettingsOf(state_, context_);
    engine::EngineOutcome outcome = engine::ChooseDecimals(state_, std::move(decimals), context_);
    Print(engine::SettingLines(before, engine::SettingsOf(state_, context_), context_.decimalSeparator));
    pending_.Decimals(state_.Decimals);
    Flush(outcome);
    Notify(Shown::Settings | Shown::Boxes);
    return outcome;
}

void ConverterSession::EditEntry(const std::function<void(engine::ConverterState&, char)>& edit) {
    TakeSeparator();
    edit(state_, context_.decimalSeparator);
    Notify(Shown::Boxes);
}

void ConverterSession::ClearAll() {
    engine::ClearAll(state_);
    Print(engine::KeyLine(engine::TapeMark::Clear, state_, context_));
    Notify(Shown::Boxes);
}

void ConverterSession::CancelEntry() {
    TakeSeparator();
    engine::CancelEntry(state_, context_.decimalSeparator);
    Print(engine::KeyLine(engine::TapeMark::CancelEntry, state_, context_));
    Notify(Shown::Boxes);
}

void ConverterSession::Print(const std::vector<engine::TapeLine>& lines) {
    for (const engine::TapeLine& line : lines)
        tape_.Add(line);
}

// A key that fails changes nothing worth printing: its message says why.
engine::EngineOutcome ConverterSession::Operate(engine::OperatorKey key) {
    TakeSeparator();
    const std::string operand = state_.Box(state_.BoxUnderEntry);
    engine::EngineOutcome outcome = engine::ApplyOperator(state_, key, context_);
    if (outcome.clipboardText) Print(engine::OperatorLines(operand, key, state_, context_));
    Notify(Shown::Boxes);
    return outcome;
}

std::optional<engine::EngineOutcome> ConverterSession::Paste(std::string_view text) {
    TakeSeparator();
    auto outcome = engine::PasteAmount(state_, text, context_);
    if (outcome && outcome->clipboardText)
        Print(engine::OperatorLines(*engine::PastedAmount(text, context_.decimalSeparator), engine::OperatorKey::Equals,
                                    state_, context_));
    if (outcome) Notify(Shown::Boxes);
    return outcome;
}

bool ConverterSession::RecallFromTape(std::size_t line) {
    TakeSeparator();
    const auto& lines = tape_.Lines();
    if (line >= lines.size() || !engine::RecallTapeLine(state_, lines[line], context_.decimalSeparator)) return false;
    Notify(Shown::Boxes);
    return true;
}

// ---- The memory ------------------------------------------------------------------------

void ConverterSession::StoreMemory(engine::MemoryOutcome& outcome) {
    if (!outcome.store) return;
    const engine::MemoryRegister& memory = state_.Memory;
    // A register that changes never also fails: the write's failure takes the error's place.
    pending_.Memory(engine::StoredTitle(memory), memory.National, memory.Euro);
    outcome.error = Flush();
}

engine::MemoryOutcome ConverterSession::AddToMemory(engine::MemoryKey key) {
    TakeSeparator();
    engine::MemoryOutcome outcome = engine::AddToMemory(state_, context_, key);
    if (outcome.store) {
        const auto mark = key == engine::MemoryKey::Plus ? engine::TapeMark::MemoryPlus : engine::TapeMark::MemoryMinus;
        Print(engine::KeyLine(mark, state_, context_));
    }
    StoreMemory(outcome);
    Notify(Shown::Memory);
    return outcome;
}

engine::MemoryOutcome ConverterSession::ClearMemory() {
    engine::MemoryOutcome outcome = engine::ClearMemory(state_.Memory);
    Print(engine::KeyLine(engine::TapeMark::MemoryClear, state_, context_));
    StoreMemory(outcome);
    Notify(Shown::Memory);
    return outcome;
}

void ConverterSession::RecallMemory() {
    TakeSeparator();
    engine::RecallMemory(state_);
    Print(engine::KeyLine(engine::TapeMark::MemoryRecall, state_, context_));
    Notify(Shown::Boxes);
}

void ConverterSession::ShowMemoryAsZero() {
    engine::ShowMemoryAsZero(state_.Memory);
    Notify(Shown::Memory);
}

std::string ConverterSession::StartRenaming() {
    TakeSeparator();
    return engine::StartRenaming(state_, context_);
}

}  // namespace devical::session
