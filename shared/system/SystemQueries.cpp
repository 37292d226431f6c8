#include "shared/system/SystemQueries.h"

namespace tidemark {

std::optional<std::string> logonUserName(platform::Platform& platform) { return platform.accounts.currentUserName(); }

std::optional<std::string> systemFolder(platform::Platform& platform, int csidl) {
    return platform.folders.folderPath(csidl);
}

std::optional<WorkAreaCorner> workAreaTopRight(platform::Platform& platform, platform::NativeWindow window) {
    // Asked twice; the second answer counts.
    std::optional<platform::Rect> area = platform.display.nearestMonitorWorkArea(window);
    area = platform.display.nearestMonitorWorkArea(window);
    if (!area) return std::nullopt;
    return WorkAreaCorner{area->right, area->top};
}

} // namespace tidemark
