// The check against the watch list: is one of the programs during whose run
// no cleaning may happen running now?
#pragma once
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::monitor::ProcessWatch {

// The protected names that can never be watched.
inline constexpr const char* kProtectedNames = "explorer.exe>Corvid.exe>Cascada.exe>Jobsmith.exe";

// True when process watch is on and a watched program runs, and also when
// the running programs cannot be read. Reloads the cached names when the list
// was changed ("STMCProcReplaceFlag" = "True"); the write of that flag goes
// into state.bolIniWriteFlag.
bool checkProcessTask(platform::Platform& platform, ProgramState& state, std::vector<std::string>& watchNames);

// The executable name of every running process; lngSnpShtCount is the last
// index, -1 when the processes could not be read. Pauses 1 ms per process.
std::vector<std::string> GetSnapShot(platform::Platform& platform, long& lngSnpShtCount);

// The process name and full path of a dropped executable or shortcut.
bool GetProcName(platform::Platform& platform, const std::string& strDropPath, std::string& strProcName,
                 std::string& strProcFullPath);

} // namespace tidemark::monitor::ProcessWatch
