// The About window's logic: its texts and the start of the system-information
// program.
#pragma once
#include <optional>
#include <string>
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor::about {

std::string caption(const std::string& title);   // title + " のﾊﾞｰｼﾞｮﾝ情報"
std::string versionText(int major, int minor, int revision);

// One registry value as text: a string as it is, a DWORD as its decimal
// value, any other type as empty text; nullopt when it cannot be read.
std::optional<std::string> registryValueText(platform::Platform& platform, platform::RegistryRoot root,
                                             const std::string& keyName, const std::string& valueName);

// Finds and starts MSINFO32.EXE. When it cannot, tells the user once and
// clears windows.systemInfoAvailable; returns whether the button stays enabled.
bool startSystemInformation(MonitorContext& c, platform::NativeWindow owner);

} // namespace tidemark::monitor::about
