#include "shared/ui/win32/DialogLayout.h"

#include <algorithm>

namespace tidemark::monitor {
namespace {

template <typename F>
F user32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

} // namespace

int windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    win32::WindowDc dc(window);
    const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

int systemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    return mulDiv(::GetSystemMetrics(index), dpi, kBaseDpi);
}

void disableAutomaticDialogScaling(HWND dialog) {
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto set = user32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;   // DDC_DISABLE_ALL
    if (set) set(dialog, kDisableAll, kDisableAll);
}

win32::UniqueFont createWindowFont(int dpi, const wchar_t* face, int points) {
    return win32::UniqueFont(::CreateFontW(-mulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

void moveToSuggestedRect(HWND window, LPARAM suggested) {
    const RECT* r = reinterpret_cast<const RECT*>(suggested);
    ::SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void centreOnOwner(HWND dialog, HWND owner) {
    if (!owner) return;
    RECT o{}, r{};
    ::GetWindowRect(owner, &o);
    ::GetWindowRect(dialog, &r);
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    LONG left = o.left + ((o.right - o.left) - width) / 2;
    LONG top = o.top + ((o.bottom - o.top) - height) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        // The top-left corner wins where the dialog is larger than the area.
        left = std::max(work.left, std::min(left, work.right - width));
        top = std::max(work.top, std::min(top, work.bottom - height));
    }
    ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void sizeClientArea(HWND window, int widthTwips, int heightTwips, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi)};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (adjustForDpi) adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame differs from what the system computed, the client
    // area still gets its exact size.
    RECT client{};
    if (::GetClientRect(window, &client) &&
        (client.right != twipsToPixels(widthTwips, dpi) || client.bottom != twipsToPixels(heightTwips, dpi))) {
        RECT outer{};
        ::GetWindowRect(window, &outer);
        ::SetWindowPos(window, nullptr, 0, 0,
                       outer.right - outer.left + twipsToPixels(widthTwips, dpi) - client.right,
                       outer.bottom - outer.top + twipsToPixels(heightTwips, dpi) - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void placeControl(HWND dialog, const layout::ControlPlace& place, HFONT font, int dpi) {
    HWND control = ::GetDlgItem(dialog, place.id);
    if (!control) return;
    const PixelRect r = toPixels(place.twips, dpi);
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

} // namespace tidemark::monitor
