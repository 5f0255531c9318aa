#include "session/tape_log.h"

#include <ctime>

#include "storage/file_io.h"

namespace devical::session {

namespace {

// The local time now, as the tape stamps its lines.
std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

TapeLog::TapeLog(const std::string& programDirectory) : programDirectory_(programDirectory), clock_(LocalTimeNow) {}

void TapeLog::Failed(const std::string& message) {
    if (!failing_ && report_) report_(message);
    failing_ = true;
}

void TapeLog::Load() {
    if (file_) return;
    file_ = std::make_unique<storage::TapeFile>(storage::FindFileNoCase(programDirectory_, storage::kTapeFileName));
    try {
        lines_ = file_->Load(kLimit);
    } catch (const storage::FileError& error) {
        Failed(error.what());  // an empty tape; the lines printed from now on still go to the file
    }
}

const std::deque<engine::TapeLine>& TapeLog::Lines() {
    Load();
    return lines_;
}

void TapeLog::Add(engine::TapeLine line) {
    Load();
    line.time = clock_();
    if (lines_.size() >= kLimit) {
        if (watcher_) watcher_->Dropping(1);
        lines_.pop_front();
        if (watcher_) watcher_->Dropped();
    }
    if (watcher_) watcher_->Adding();
    lines_.push_back(line);
    if (watcher_) watcher_->Added();
    try {
        file_->Append(line);
        if (file_->LineCount() > kLimit + kSlack) file_->CutBack(kLimit);
        failing_ = false;
    } catch (const storage::FileError& error) {
        Failed(error.what());
    }
}

std::optional<std::string> TapeLog::Clear() {
    Load();
    try {
        file_->Rewrite({});
    } catch (const storage::FileError& error) {
        return error.what();
    }
    if (watcher_) watcher_->Resetting();
    lines_.clear();
    if (watcher_) watcher_->Reset();
    return std::nullopt;
}

}  // namespace devical::session
