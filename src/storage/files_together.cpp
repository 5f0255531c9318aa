// Several files replaced as one change, whole even across a kill: a journal written before the
// first rename names every rename still to make, and whoever next takes the directory's lock
// makes them, save over a file that changed since.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <system_error>

#include "engine/builtin_texts.h"
#include "storage/directory_lock.h"
#include "storage/file_io.h"
#include "storage/file_staging.h"
#include "storage/language_set.h"

namespace devical::storage {

namespace fs = std::filesystem;
using staging::StagedFile;

namespace {

// Version 1 journals, left by earlier builds, lack the targets' stamps.
constexpr std::string_view kJournalHeader1 = "Devical journal 1\n";
constexpr std::string_view kJournalHeader = "Devical journal 2\n";
static_assert(kJournalHeader1.size() == kJournalHeader.size());

// One step of a change: the staged file renamed over its target, or, without one, the target
// removed (a file that the change had created and its undoing takes away).
struct JournalEntry {
    fs::path temporary;
    fs::path target;
    // The target when the change was staged: a completion leaves one changed since alone.
    // None in a version 1 journal.
    std::optional<FileStamp> staged;
};

fs::path JournalPath(const fs::path& directory) { return directory / kJournalName; }

// "-" for a target that did not exist, else its device, inode, size, time and hash in decimal.
std::string StampText(const FileStamp& stamp) {
    if (!stamp.exists) return "-";
    return std::to_string(stamp.device) + ' ' + std::to_string(stamp.inode) + ' ' + std::to_string(stamp.size) + ' ' +
           std::to_string(stamp.modifiedNs) + ' ' + std::to_string(stamp.contentHash);
}

std::optional<FileStamp> StampFromText(std::string_view text) {
    if (text == "-") return FileStamp{};
    FileStamp stamp{.exists = true};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    const auto next = [&](auto& value, bool last) {
        const auto [after, error] = std::from_chars(at, end, value);
        if (error != std::errc()) return false;
        if (last) return after == end;
        if (after == end || *after != ' ') return false;
        at = after + 1;
        return true;
    };
    if (next(stamp.device, false) && next(stamp.inode, false) && next(stamp.size, false) &&
        next(stamp.modifiedNs, false) && next(stamp.contentHash, true))
        return stamp;
    return std::nullopt;
}

// Paths are written in full, each followed by a NUL byte, which no path contains; then the
// target's stamp, also ended by a NUL.
std::string JournalBytes(const std::vector<JournalEntry>& entries) {
    std::string bytes(kJournalHeader);
    for (const JournalEntry& entry : entries) {
        const std::string temporary = entry.temporary.empty() ? std::string() : fs::absolute(entry.temporary).string();
        bytes += temporary + '\0' + fs::absolute(entry.target).string() + '\0' + StampText(*entry.staged) + '\0';
    }
    return bytes;
}

// Past this point the change is made whole, here or by whoever next takes the lock.
void WriteJournal(const fs::path& directory, const std::vector<JournalEntry>& entries) {
    staging::Commit(staging::Stage(JournalPath(directory), JournalBytes(entries)));
    staging::SyncDirectory(directory);
}

// Not synced: a journal that outlives a power cut names only temporary files already gone,
// and its completion then just removes it.
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

// stamps: what each file is now, under the lock.
std::vector<JournalEntry> StageAll(const std::vector<FileContents>& files, const std::vector<FileStamp>& stamps) {
    std::vector<JournalEntry> entries;
    try {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const StagedFile staged = staging::Stage(files[i].path, files[i].bytes);
            entries.push_back({staged.temporary, staged.target, stamps[i]});
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
    std::vector<FileStamp> restoredStamps;
    std::vector<fs::path> created;
    for (std::size_t i = 0; i < done.size(); ++i) {
        if (before[i]) {
            restored.push_back({done[i].target, *before[i]});
            restoredStamps.push_back(StampOf(done[i].target));
        } else {
            created.push_back(done[i].target);
        }
    }
    std::vector<JournalEntry> undo = StageAll(restored, restoredStamps);
    for (const fs::path& target : created)
        undo.push_back({{}, target, StampOf(target)});
    WriteJournal(directory, undo);
    RemoveTemporaries(notDone);
    for (const JournalEntry& entry : undo)
        Apply(entry);
    SyncDirectoriesOf(undo);
    RemoveJournal(directory);
}

// The journal's entries, each checked to stay within the directory and to rename only a
// temporary file of its own target: the journal lies in the user's directory like any file.
// None when it cannot be read or trusted.
std::optional<std::vector<JournalEntry>> ReadJournal(const fs::path& directory) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(JournalPath(directory));
    } catch (const FileError&) {
        return std::nullopt;
    }
    const bool stamped = bytes.starts_with(kJournalHeader);
    if (!stamped && !bytes.starts_with(kJournalHeader1)) return std::nullopt;
    std::vector<std::string> fields;
    for (std::size_t start = kJournalHeader.size(); start < bytes.size();) {
        const std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) return std::nullopt;
        fields.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    const std::size_t width = stamped ? 3 : 2;
    if (fields.size() % width != 0) return std::nullopt;
    std::error_code error;
    const fs::path home = fs::canonical(directory, error);
    std::vector<JournalEntry> entries;
    for (std::size_t i = 0; i + width <= fields.size(); i += width) {  // never a field past the last
        JournalEntry entry{fields[i], fields[i + 1], std::nullopt};
        if (stamped && !(entry.staged = StampFromText(fields[i + 2]))) return std::nullopt;
        const fs::path folder = fs::weakly_canonical(entry.target.parent_path(), error);
        const auto [end, rest] = std::mismatch(home.begin(), home.end(), folder.begin(), folder.end());
        if (error || end != home.end() || !entry.target.is_absolute()) return std::nullopt;
        if (entry.temporary.empty() ? folder != home || !IsLanguageSetFileName(entry.target.filename().string())
                                    : entry.temporary.parent_path() != entry.target.parent_path() ||
                                          !staging::IsTemporaryNameFor(entry.temporary.filename().string(),
                                                                       entry.target.filename().string()))
            return std::nullopt;
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The entry's step is still to make: its temporary file was not renamed yet, or the file to
// remove is still there.
bool IsPending(const JournalEntry& entry) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(entry.temporary.empty() ? entry.target : entry.temporary, error);
    return entry.temporary.empty() ? fs::exists(status) : fs::is_regular_file(status);
}

// A target that a hand edit or another program changed after the kill holds the newer work.
bool ChangedSinceStaged(const JournalEntry& entry) {
    if (!entry.staged) return false;
    try {
        return StampOf(entry.target) != *entry.staged;
    } catch (const FileError&) {  // now a directory, or unreadable: not what was staged
        return true;
    }
}

// Kept under a name no start reads, for whoever wants to see what it held, and the start goes on.
void SetJournalAside(const fs::path& directory) {
    std::error_code error;
    fs::path aside = JournalPath(directory).string() + ".damaged";
    for (int n = 2; fs::exists(fs::symlink_status(aside, error)); ++n)
        aside = JournalPath(directory).string() + ".damaged." + std::to_string(n);
    staging::Notify(FileStep::Rename, aside);
    if (::rename(JournalPath(directory).c_str(), aside.c_str()) != 0)
        staging::Fail("CannotWrite", JournalPath(directory), errno);
    staging::SyncDirectory(directory);
    staging::AddNotice(engine::BuiltInText("JournalSetAside", {aside.string()}));
}

}  // namespace

namespace staging {

void CompleteJournal(const fs::path& directory) {
    const std::optional<std::vector<JournalEntry>> entries = ReadJournal(directory);
    if (!entries) return SetJournalAside(directory);
    for (const JournalEntry& entry : *entries) {
        if (!IsPending(entry)) continue;
        if (!ChangedSinceStaged(entry)) {
            Apply(entry);
            continue;
        }
        if (!entry.temporary.empty()) ::unlink(entry.temporary.c_str());
        AddNotice(engine::BuiltInText("JournalFileKept", {entry.target.string()}));
    }
    SyncDirectoriesOf(*entries);
    RemoveJournal(directory);
}

}  // namespace staging

void ReplaceFilesTogether(const fs::path& directory, const std::vector<FileContents>& files) {
    DirectoryLock lock(directory);
    // What each target holds now, to put back should a rename fail half way, and its stamp for
    // the journal.
    std::vector<std::optional<std::string>> before;
    std::vector<FileStamp> stamps(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        const bool holdsBytes = fs::is_regular_file(files[i].path, error);
        before.push_back(holdsBytes ? std::optional(ReadFileBytes(files[i].path, &stamps[i])) : std::nullopt);
    }
    const std::vector<JournalEntry> entries = StageAll(files, stamps);
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
            } catch (const FileError&) {  // the first failure is the one to report; the next hold finishes
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
    // Taking the lock completes a journal left behind.
    DirectoryLock lock(directory);
    // Every writer holds the lock while its temporary file exists: those left now are a
    // killed writer's.
    for (fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, error), end; !error && it != end;
         it.increment(error)) {
        if (staging::IsTemporaryName(it->path().filename().string()) && it->is_regular_file(error))
            ::unlink(it->path().c_str());
    }
}

}  // namespace devical::storage
