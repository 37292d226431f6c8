// Editing the watch list: reading the whole stored list, checking and adding
// a chosen or dropped file, and saving the list with the reload flag in one
// write. The process watch window holds the list; these work on it.
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::monitor {

// One watched program: its process name (the key) and its full path (the
// value, possibly empty).
struct WatchEntry {
    std::string name;
    std::string path;
    bool operator==(const WatchEntry& o) const { return name == o.name && path == o.path; }
};

// Names compare as the settings file's keys do: ordinal, letter case ignored.
bool sameProgramName(const std::string& a, const std::string& b);

// The whole section in file order, entries without a path included; nullopt
// when the file exists but could not be read.
std::optional<std::vector<WatchEntry>> readWatchList(platform::Platform& platform, ProgramState& state);

// The section replaced and "STMCProcReplaceFlag" set ("True", or "NonProc"
// for an empty list) in one write of the file. True when written.
bool saveWatchList(platform::Platform& platform, ProgramState& state, const std::vector<WatchEntry>& list);

// A chosen or dropped file checked and added: a program or a shortcut to
// one, not the monitor itself without a Yes, no protected name, not listed
// already. ask: whether "を追加しますか？" is asked (a Yes to the own-name
// question answers it). Messages are owned by owner. True when added.
bool addWatchedFile(platform::Platform& platform, platform::NativeWindow owner, std::vector<WatchEntry>& list,
                    const std::string& ownName, const std::string& path, bool ask);

} // namespace tidemark::monitor
