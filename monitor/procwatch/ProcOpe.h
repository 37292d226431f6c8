// Editing the watch list: the procedures behind the process watch window,
// working on the window's two lists.
#pragma once
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::monitor {

// The process watch window's lists and the controls these procedures touch.
// lstDrop[i] is a process name; HideLstDrop[i] is that name, ">" and its path.
struct WatchListEdit {
    platform::NativeWindow owner = 0;
    std::vector<std::string> lstDrop;
    std::vector<std::string> HideLstDrop;
    bool cmdReflecEnabled = false;
    std::string cmdReflecTooltip;
    bool mnuSettingReflecEnabled = false;
};

namespace ProcOpe {

void ProcListReadTask(platform::Platform& platform, ProgramState& state, WatchListEdit& list);
void ProcListWriteTask(platform::Platform& platform, ProgramState& state, WatchListEdit& list);
void ProcAddCheckTask(platform::Platform& platform, WatchListEdit& list, const std::string& ownName,
                      const std::string& path, bool& ask, bool& changed);
void ProcAddTask(platform::Platform& platform, WatchListEdit& list, const std::string& name, bool ask,
                 const std::string& fullPath, bool& changed);

} // namespace ProcOpe
} // namespace tidemark::monitor
