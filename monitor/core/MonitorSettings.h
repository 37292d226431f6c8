// The monitor's reads and writes of the shared settings file: every write's
// result goes to the state's write flag, which the minute tick watches.
#pragma once
#include <string>
#include <vector>
#include "monitor/core/MonitorContext.h"
#include "shared/accounts/AccountGroups.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark::monitor {

inline std::string readShared(MonitorContext& c, const char* section, const std::string& key) {
    return SettingsFiles(c.platform, c.state).read(section, key);
}

// nullopt when the file could not be read.
inline std::optional<std::string> readSharedIfReadable(MonitorContext& c, const char* section, const std::string& key) {
    return SettingsFiles(c.platform, c.state).tryRead(section, key);
}

inline void writeShared(MonitorContext& c, const char* section, const std::string& key, const std::string& value) {
    c.state.settings.sharedWritable = SettingsFiles(c.platform, c.state).write(section, key, value);
}

// A write made only while every expected value still holds; a write that
// failed (not one whose condition did not hold) clears the write flag.
inline profile::WriteOutcome writeSharedIf(MonitorContext& c, const std::vector<profile::ExpectedValue>& expected,
                                           const char* section, const std::string& key, const std::string& value) {
    const auto r = SettingsFiles(c.platform, c.state).writeIf(expected, section, key, value);
    c.state.settings.sharedWritable = r != profile::WriteOutcome::Failed;
    return r;
}

// Asked anew each time: the membership may have changed since start-up.
inline bool runsAsAdministrator(MonitorContext& c) {
    return AccountGroups(c.platform).isMember(ini::word::Administrators).member;
}

inline void setOnBothWindows(MonitorContext& c, StatusControl control, const std::string& text) {
    c.ui.setText(StatusWindow::Simple, control, text);
    c.ui.setText(StatusWindow::Graph, control, text);
}

} // namespace tidemark::monitor
