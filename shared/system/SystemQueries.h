// The logon user's name, the system's folders and the work area of the
// monitor a window is on.
#pragma once
#include <optional>
#include <string>
#include "platform/Platform.h"

namespace tidemark {

std::optional<std::string> logonUserName(platform::Platform& platform);
// The folder of a CSIDL.
std::optional<std::string> systemFolder(platform::Platform& platform, int csidl);

struct WorkAreaCorner {
    long right = 0, top = 0;
};
// Top-right corner of the work area of the monitor nearest the window.
std::optional<WorkAreaCorner> workAreaTopRight(platform::Platform& platform, platform::NativeWindow window);

} // namespace tidemark
