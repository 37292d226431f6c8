// Display backend: the monitor nearest a window and its work area; the
// high-contrast setting and the system's colours.
#include "platform/win32/Win32Display.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

std::uint32_t systemColour(int index) {
    const COLORREF c = ::GetSysColor(index);
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

} // namespace

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

platform::ColourScheme Win32Display::colourScheme() {
    platform::ColourScheme scheme;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    scheme.highContrast = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
                          (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    scheme.system = {systemColour(COLOR_WINDOW), systemColour(COLOR_WINDOWTEXT), systemColour(COLOR_GRAYTEXT),
                     systemColour(COLOR_HIGHLIGHT)};
    return scheme;
}

} // namespace tidemark::win32
