// Several files replaced as one change, whole even across a kill: a journal written before the
// first rename names every rename still to make, and whoever finds it makes them.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "engine/builtin_texts.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/file_staging.h"

namespace devical::storage {

namespace fs = std::filesystem;
using staging::StagedFile;

namespace {

constexpr std::string_view kJournalHeader = "Devical journal 1\n";

// One step of a change: the staged file renamed over its target, or, without one, the target
// removed (a file that the change had created and its undoing takes away).
struct JournalEntry {
    fs::path temporary;
    fs::path target;
};

fs::path JournalPath(const fs::path& directory) { return directory / kJournalName; }

// Paths are written in full, each followed by a NUL byte, which no path contains.
std::string JournalBytes(const std::vector<JournalEntry>& entries) {
    std::string bytes(kJournalHeader);
    for (const JournalEntry& entry : entries) {
        const std::string temporary = entry.temporary.empty() ? std::string() : fs::absolute(entry.temporary).string();
        bytes += temporary + '\0' + fs::absolute(entry.target).string() + '\0';
    }
    return bytes;
}

// Past this point the change is made whole, here or at the next start.
void WriteJournal(const fs::path& directory, const std::vector<JournalEntry>& entries) {
    staging::Commit(staging::Stage(JournalPath(directory), JournalBytes(entries)));
    staging::SyncDirectory(directory);
}

// Not synced: a journal that outlives a power cut names only temporary files already gone,
// and the next start then just removes it.
void RemoveJournal(const fs::path& directory) {
    staging::Notify(FileStep::Remove, JournalPath(directory));
    if (::unlink(JournalPath(directory).c_str()) != 0 && errno != ENOENT)
        staging::Fail("CannotRemove", JournalPath(directory), errno);
}

void Apply(const JournalEntry& entry) {
    if (!entry.temporary.empty()) return staging::Commit({entry.target, entry.temporary});
    staging::Notify(FileStep::Remove, entry.target);
    if (::unlink(entry.target.c_str()) != 0 && errno != ENOENT) staging::Fail("CannotRemove", entry.target, errno);
}

void SyncDirectoriesOf(const std::vector<JournalEntry>& entries) {
    std::vector<fs::path> directories;
    for (const JournalEntry& entry : entries) {
        if (std::find(directories.begin(), directories.end(), entry.target.parent_path()) == directories.end())
            directories.push_back(entry.target.parent_path());
    }
    for (const fs::path& directory : directories)
        staging::SyncDirectory(directory);
}

void RemoveTemporaries(const std::vector<JournalEntry>& entries) {
    for (const JournalEntry& entry : entries) {
        if (!entry.temporary.empty()) ::unlink(entry.temporary.c_str());
    }
}

std::vector<JournalEntry> StageAll(const std::vector<FileContents>& files) {
    std::vector<JournalEntry> entries;
    try {
        for (const FileContents& file : files) {
            const StagedFile staged = staging::Stage(file.path, file.bytes);
            entries.push_back({staged.temporary, staged.target});
        }
    } catch (const FileError&) {
        RemoveTemporaries(entries);
        throw;
    }
    return entries;
}

// Puts back the files that a failed change had already replaced, as one change of its own:
// its journal takes the place of the failed one's, whose remaining renames are then dropped.
void Undo(const fs::path& directory, const std::vector<JournalEntry>& done,
          const std::vector<std::optional<std::string>>& before, const std::vector<JournalEntry>& notDone) {
    std::vector<FileContents> restored;
    std::vector<fs::path> created;
    for (std::size_t i = 0; i < done.size(); ++i) {
        if (before[i]) {
            restored.push_back({done[i].target, *before[i]});
        } else {
            created.push_back(done[i].target);
        }
    }
    std::vector<JournalEntry> undo = StageAll(restored);
    for (const fs::path& target : created)
        undo.push_back({{}, target});
    WriteJournal(directory, undo);
    RemoveTemporaries(notDone);
    for (const JournalEntry& entry : undo)
        Apply(entry);
    SyncDirectoriesOf(undo);
    RemoveJournal(directory);
}

// The journal's entries, each checked to stay within the directory and to rename only a
// temporary file of its own target: the journal lies in the user's directory like any file.
std::vector<JournalEntry> ReadJournal(const fs::path& directory) {
    const fs::path path = JournalPath(directory);
    const std::string bytes = ReadFileBytes(path);
    const auto damaged = [&path] { staging::Fail("CannotRead", path, engine::BuiltInText("JournalDamaged")); };
    if (!bytes.starts_with(kJournalHeader)) damaged();
    std::vector<std::string> fields;
    for (std::size_t start = kJournalHeader.size(); start < bytes.size();) {
        const std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) damaged();
        fields.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() % 2 != 0) damaged();
    std::error_code error;
    const fs::path home = fs::canonical(directory, error);
    std::vector<JournalEntry> entries;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const JournalEntry entry{fields[i], fields[i + 1]};
        const fs::path folder = fs::weakly_canonical(entry.target.parent_path(), error);
        const auto [end, rest] = std::mismatch(home.begin(), home.end(), folder.begin(), folder.end());
        if (error || end != home.end() || !entry.target.is_absolute()) damaged();
        if (!entry.temporary.empty() &&
            (entry.temporary.parent_path() != entry.target.parent_path() ||
             !staging::IsTemporaryNameFor(entry.temporary.filename().string(), entry.target.filename().string())))
            damaged();
        entries.push_back(entry);
    }
    return entries;
}

// A journal entry whose temporary file is gone was renamed before the kill.
void RollForward(const fs::path& directory) {
    const std::vector<JournalEntry> entries = ReadJournal(directory);
    for (const JournalEntry& entry : entries) {
        std::error_code error;
        if (entry.temporary.empty() || fs::is_regular_file(fs::symlink_status(entry.temporary, error))) Apply(entry);
    }
    SyncDirectoriesOf(entries);
    RemoveJournal(directory);
}

}  // namespace

void ReplaceFilesTogether(const fs::path& directory, const std::vector<FileContents>& files) {
    DirectoryLock lock(directory);
    // What each target holds now, to put back should a rename fail half way.
    std::vector<std::optional<std::string>> before;
    for (const FileContents& file : files) {
        std::error_code error;
        const bool holdsBytes = fs::is_regular_file(file.path, error);
        before.push_back(holdsBytes ? std::optional(ReadFileBytes(file.path)) : std::nullopt);
    }
    const std::vector<JournalEntry> entries = StageAll(files);
    try {
        WriteJournal(directory, entries);
    } catch (const FileError&) {
        RemoveTemporaries(entries);
        throw;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        try {
            Apply(entries[i]);
        } catch (const FileError&) {
            try {
                Undo(directory, {entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(i)}, before,
                     {entries.begin() + static_cast<std::ptrdiff_t>(i) + 1, entries.end()});
            } catch (const FileError&) {  // the first failure is the one to report; the next start finishes
            }
            throw;
        }
    }
    SyncDirectoriesOf(entries);
    RemoveJournal(directory);
}

void FinishInterruptedWrites(const fs::path& directory) {
    std::error_code error;
    if (!fs::is_directory(directory.empty() ? fs::path(".") : directory, error)) return;
    DirectoryLock lock(directory);
    if (fs::exists(fs::symlink_status(JournalPath(directory), error))) RollForward(directory);
    // Every writer holds the lock while its temporary file exists: those left now are a
    // killed writer's.
    for (fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, error), end; !error && it != end;
         it.increment(error)) {
        if (staging::IsTemporaryName(it->path().filename().string()) && it->is_regular_file(error))
            ::unlink(it->path().c_str());
    }
}

}  // namespace devical::storage
