// Editing the watch list: the procedures behind the process watch window,
// working on the window's two lists.
#pragma once
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::monitor {

// The process watch window's lists and the controls these procedures touch.
// names[i] is a process name; entries[i] is that name, ">" and its path.
struct WatchListEdit {
    platform::NativeWindow owner = 0;
    std::vector<std::string> names;
    std::vector<std::string> entries;
    bool saveEnabled = false;
    std::string saveTooltip;
    bool saveMenuEnabled = false;
};

void readWatchList(platform::Platform& platform, ProgramState& state, WatchListEdit& list);
void saveWatchList(platform::Platform& platform, ProgramState& state, WatchListEdit& list);
// A dropped or chosen file: checked (a program or a shortcut to one, not
// the monitor itself without a Yes, no protected name) and added. A Yes to
// the own-name question clears ask. True when the list changed.
bool addDroppedFile(platform::Platform& platform, WatchListEdit& list, const std::string& ownName,
                    const std::string& path, bool& ask);
// Adds a program unless listed already, after a question when ask is set.
// True when the list changed.
bool addProgram(platform::Platform& platform, WatchListEdit& list, const std::string& name, bool ask,
                const std::string& fullPath);

} // namespace tidemark::monitor
