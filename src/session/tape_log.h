// The paper tape of the session: its lines in order, the newest last, read from Tape.txt only
// when first wanted (the window opens, or a line is printed), each new line added to the file
// as it comes. The file runs at most kSlack lines past kLimit before it is cut back.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/tape.h"
#include "storage/tape_file.h"

namespace devical::session {

// Whoever shows the tape: told before and after each change, as a view's model must be.
class TapeWatcher {
public:
    virtual ~TapeWatcher() = default;
    virtual void Dropping(std::size_t count) = 0;  // the oldest lines go
    virtual void Dropped() = 0;
    virtual void Adding() = 0;  // one line at the end
    virtual void Added() = 0;
    virtual void Resetting() = 0;  // all lines replaced
    virtual void Reset() = 0;
};

class TapeLog {
public:
    static constexpr std::size_t kLimit = 10000;
    static constexpr std::size_t kSlack = 1000;

    explicit TapeLog(const std::string& programDirectory);

    const std::deque<engine::TapeLine>& Lines();
    // Stamped with the clock's time, kept, and added to the file.
    void Add(engine::TapeLine line);
    // Empties the tape and its file; the reason it could not, if any (the tape then stays).
    std::optional<std::string> Clear();

    void Watch(TapeWatcher* watcher) { watcher_ = watcher; }
    // A file that cannot be read or written: told once, until it works again.
    void OnFailure(std::function<void(const std::string&)> report) { report_ = std::move(report); }
    // The local time as lines are stamped with it, "2026-12-08 10:15:02".
    void SetClock(std::function<std::string()> clock) { clock_ = std::move(clock); }
    std::string Now() const { return clock_(); }

private:
    void Load();
    void Failed(const std::string& message);

    std::string programDirectory_;
    std::unique_ptr<storage::TapeFile> file_;  // opened with the first look at the tape
    std::deque<engine::TapeLine> lines_;
    TapeWatcher* watcher_ = nullptr;
    std::function<void(const std::string&)> report_;
    std::function<std::string()> clock_;
    bool failing_ = false;
};

}  // namespace devical::session
