// Where the working files live. Beside the executable when that directory holds DEVICAL.INI
// and may be written (a build, a copy on a stick: portable); otherwise in the user's own
// data directory, seeded from the shipped data of an installed program.
#pragma once

#include <filesystem>
#include <optional>

namespace devical::storage {

struct ProgramDirectoryPlan {
    std::filesystem::path directory;
    // The shipped data that SeedUserDirectory copies in first; empty in portable mode.
    std::optional<std::filesystem::path> seedFrom;
};

// executableDirectory: the running program's directory; userDirectory: the user's data
// directory for the program; shippedDirectory: the installed data (share/devical). Where
// there is no shipped data either, the executable's directory stays the program directory
// and start-up reports the missing files there.
ProgramDirectoryPlan PlanProgramDirectory(const std::filesystem::path& executableDirectory,
                                          const std::filesystem::path& userDirectory,
                                          const std::filesystem::path& shippedDirectory);

// The plan for a program run from executableDirectory (with its trailing '/'): the data
// shipped in ../share/devical/ beside it, the user's directory as UserDataDirectory says. The
// window and devical-rates find the same files this way.
ProgramDirectoryPlan PlanProgramDirectoryFor(const std::filesystem::path& executableDirectory, const char* xdgDataHome,
                                             const std::filesystem::path& home);

// The user's data directory for the program: $XDG_DATA_HOME/devical/ when that is an absolute
// path (a relative one is ignored, as the XDG rules say), else home/.local/share/devical/.
std::filesystem::path UserDataDirectory(const char* xdgDataHome, const std::filesystem::path& home);

// Creates the user's directory (0700) when it does not exist, with the first-run marker, so
// that the language choice greets a new user; then copies in every shipped file it lacks in
// any letter case, and makes each missing working file from the set given (the one the user's
// locale preselects, so that a new user is greeted in their language), or from the French set
// when that set is not shipped. A user's file is
// never replaced; only the help documents (*.html), the program's own, are refreshed. Each file
// is written whole through a temporary file. A directory that another user owns or may write
// in is refused before anything is read or written there: its files could steer ours. Throws
// FileError naming what failed and why (and what to do about a directory refused); the files
// already seeded stay and the next start completes the seeding.
void SeedUserDirectory(const std::filesystem::path& shippedDirectory, const std::filesystem::path& userDirectory,
                       std::string_view firstSet);

// Makes the planned directory ready before any of its files is read: the user's directory
// seeded as above; a portable one as it is, but for its first run (kFirstRunMarker), which
// switches it to firstSet where it holds that set. Either way, a change of several files that
// a kill cut short is completed first (FinishInterruptedWrites). Throws FileError.
void PrepareProgramDirectory(const ProgramDirectoryPlan& plan, std::string_view firstSet);

}  // namespace devical::storage
