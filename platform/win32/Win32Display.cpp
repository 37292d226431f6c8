// Display backend: the monitor nearest a window and its work area.
#include "platform/win32/Win32Display.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<platform::Rect> Win32Display::nearestMonitorWorkArea(platform::NativeWindow window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    std::optional<platform::Rect> area;
    // Asked twice and the second answer kept: a monitor change between the
    // calls then yields the newer geometry.
    for (int pass = 0; pass < 2; ++pass) {
        const HMONITOR monitor = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
        if (monitor == nullptr) return std::nullopt;
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(monitor, &info)) return std::nullopt;
        area = platform::Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    }
    return area;
}

} // namespace tidemark::win32
