#include "shared/accounts/GetsProc.h"

namespace tidemark {

std::string GetsProc::GetLogonUserName(long& lngResult) {
    const auto name = platform_.accounts.currentUserName();
    lngResult = name ? 1 : 0;
    return name.value_or(std::string());
}

bool GetsProc::GetSysFolder(int csidl, std::string& path) {
    const auto folder = platform_.folders.folderPath(csidl);
    path = folder.value_or(std::string());
    return folder.has_value();
}

bool GetsProc::GetMonitorSizeTopRight(long& right, long& top) {
    // Asked twice; the second answer counts.
    std::optional<platform::Rect> area = platform_.display.nearestMonitorWorkArea(state_.lngMainWnd);
    area = platform_.display.nearestMonitorWorkArea(state_.lngMainWnd);
    if (!area) {
        right = top = 0;
        return false;
    }
    right = area->right;
    top = area->top;
    return true;
}

bool GetFldNm::GetSysFolderPath(platform::NativeWindow, int csidl, std::string& path) {
    const auto folder = platform_.folders.folderPath(csidl);
    path = folder.value_or(std::string());
    return folder.has_value();
}

} // namespace tidemark
