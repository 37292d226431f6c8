// The yardstick for Tidemark's idle cost: the least a tray program does, one
// hidden window, one tray icon and a one-second timer that re-reads memory.
#include "platform/win32/WindowsApi.h"

namespace {

constexpr UINT kCallback = WM_APP + 1;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        MEMORYSTATUSEX m{};
        m.dwLength = sizeof m;
        ::GlobalMemoryStatusEx(&m);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MinimalTray";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowW(L"MinimalTray", L"MinimalTray", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kCallback;
    icon.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    lstrcpynW(icon.szTip, L"MinimalTray", 64);
    ::Shell_NotifyIconW(NIM_ADD, &icon);
    ::SetTimer(window, 1, 1000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
