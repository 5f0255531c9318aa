#include "storage/program_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "engine/builtin_texts.h"
#include "storage/file_io.h"
#include "storage/language_file.h"
#include "storage/language_set.h"
#include "storage/text_lines.h"

namespace devical::storage {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// Root passes access() on any directory: a directory without write bits counts as read-only.
bool MayWriteIn(const fs::path& given) {
    const fs::path directory = given.empty() ? fs::path(".") : given;
    struct stat info {};
    return ::stat(directory.c_str(), &info) == 0 && (info.st_mode & 0222) != 0 &&
           ::access(directory.c_str(), W_OK) == 0;
}

bool IsHelpDocument(const fs::path& name) { return UpperAscii(name.extension().string()) == ".HTML"; }

[[noreturn]] void FailToCreate(const fs::path& directory, int error) {
    throw FileError(engine::BuiltInText("CannotCreateFolder") + " " + directory.string() + "\n" +
                    std::generic_category().message(error));
}

// The user's directory and, for a new one, the first-run marker.
void CreateUserDirectory(const fs::path& given) {
    const fs::path directory = given.has_filename() ? given : given.parent_path();  // "devical/" names "devical"
    std::error_code error;
    fs::create_directories(directory.parent_path(), error);
    if (error) FailToCreate(directory.parent_path(), error.value());
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) FailToCreate(directory, errno);
    ReplaceFileContents(directory / kFirstRunMarker, "");
}

// Only this user may change what is in the directory, as OpenSSH asks of ~/.ssh.
void RefuseSharedDirectory(const fs::path& directory) {
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0) return;
    const std::string name = directory.string();
    if (info.st_uid != ::getuid())
        throw FileError(engine::BuiltInText("OtherOwner", {name, std::to_string(info.st_uid)}));
    if ((info.st_mode & 022) != 0) throw FileError(engine::BuiltInText("SharedFolder", {name}));
}

void CopyFile(const fs::path& source, const fs::path& target) { ReplaceFileContents(target, ReadFileBytes(source)); }

// Until a set is chosen, a portable directory speaks the set of the user's locale where it
// holds one, as a new user's directory is seeded with it; the one it was given is kept under
// its code, for the choice to bring back.
void InstallFirstSet(const fs::path& directory, std::string_view firstSet) {
    if (!HasFirstRunMarker(directory)) return;
    const std::string installed = SpokenLanguageIn(directory);
    if (installed == firstSet) return;
    try {
        InstallLanguageSet(directory, installed, firstSet);
    } catch (const std::runtime_error&) {
        // The set it has stays, as does the choice to come: the locale's set is offered there.
    }
}

}  // namespace

ProgramDirectoryPlan PlanProgramDirectory(const fs::path& executableDirectory, const fs::path& userDirectory,
                                          const fs::path& shippedDirectory) {
    const bool portable = Exists(FindFileNoCase(executableDirectory, "DEVICAL.INI")) && MayWriteIn(executableDirectory);
    if (portable || !fs::is_directory(shippedDirectory)) return {executableDirectory, std::nullopt};
    return {userDirectory, shippedDirectory};
}

ProgramDirectoryPlan PlanProgramDirectoryFor(const fs::path& executableDirectory, const char* xdgDataHome,
                                             const fs::path& home) {
    const fs::path shipped = (executableDirectory / "../share/devical").lexically_normal() / "";
    return PlanProgramDirectory(executableDirectory, UserDataDirectory(xdgDataHome, home), shipped);
}

fs::path UserDataDirectory(const char* xdgDataHome, const fs::path& home) {
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return fs::path(xdgDataHome) / "devical/";
    return home / ".local/share/devical/";
}

void SeedUserDirectory(const fs::path& shippedDirectory, const fs::path& userDirectory, std::string_view firstSet) {
    if (!Exists(userDirectory)) CreateUserDirectory(userDirectory);
    RefuseSharedDirectory(userDirectory);
    FinishInterruptedWrites(userDirectory);
    std::error_code error;
    for (fs::directory_iterator it(shippedDirectory, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file()) continue;
        const fs::path name = it->path().filename();
        const fs::path present = FindFileNoCase(userDirectory, name.string());
        if (IsHelpDocument(name)) {
            const std::string shipped = ReadFileBytes(it->path());
            if (!Exists(present) || ReadFileBytes(present) != shipped) ReplaceFileContents(present, shipped);
        } else if (!Exists(present)) {
            CopyFile(it->path(), present);
        }
    }
    if (error)
        throw FileError(engine::BuiltInText("CannotOpenFolder") + " " + shippedDirectory.string() + "\n" +
                        error.message());
    const auto stored = [&](const LanguageSetFile& file, std::string_view code) {
        return FindFileNoCase(userDirectory, std::string(file.storedPrefix) + std::string(code));
    };
    const bool firstSetShipped =
        std::all_of(kLanguageSetFiles.begin(), kLanguageSetFiles.end(),
                    [&](const LanguageSetFile& file) { return Exists(stored(file, firstSet)); });
    for (const LanguageSetFile& file : kLanguageSetFiles) {
        const fs::path working = FindFileNoCase(userDirectory, file.workingName);
        if (!Exists(working)) CopyFile(stored(file, firstSetShipped ? firstSet : "FR"), working);
    }
}

void PrepareProgramDirectory(const ProgramDirectoryPlan& plan, std::string_view firstSet) {
    if (plan.seedFrom) return SeedUserDirectory(*plan.seedFrom, plan.directory, firstSet);
    FinishInterruptedWrites(plan.directory);
    InstallFirstSet(plan.directory, firstSet);
}

}  // namespace devical::storage
