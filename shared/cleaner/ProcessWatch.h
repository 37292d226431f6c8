// The check against the watch list: is one of the programs during whose run
// no cleaning may happen running now?
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::cleaner {

// The protected names that can never be watched.
inline constexpr const char* kProtectedNames = "explorer.exe>Corvid.exe>Cascada.exe>Jobsmith.exe";

// True when process watch is on and a watched program runs, and also when
// the settings file or the running programs cannot be read. The watched
// names are read anew at every check into watchNames; a changed list
// ("STMCProcReplaceFlag" = "True") gets the flag set to "False", and that
// write's result goes into state.settings.sharedWritable.
bool watchedProgramRunning(platform::Platform& platform, ProgramState& state, std::vector<std::string>& watchNames);
// The same check, telling what holds the cleaner back: nullopt when nothing
// does, the running program's name, or an empty name when the file or the
// running programs could not be read.
std::optional<std::string> runningWatchedProgram(platform::Platform& platform, ProgramState& state,
                                                 std::vector<std::string>& watchNames);

// The executable name of every running process; nullopt when the processes
// could not be read. Pauses 1 ms per process.
std::optional<std::vector<std::string>> runningProgramNames(platform::Platform& platform);

// What a dropped file names: a program, or a shortcut to one.
struct DroppedFile {
    bool isProgram = false;
    std::string name;       // the program's file name; empty when no program
    std::string fullPath;   // the file, or the shortcut's target
};
DroppedFile programOfDroppedFile(platform::Platform& platform, const std::string& path);

} // namespace tidemark::cleaner
