// Win32 shell of the windowless programs; no decisions live here.
#include "shared/system/win32/WindowlessShell.h"

#include <objbase.h>

#include <initializer_list>

#include "platform/WithMessages.h"

namespace tidemark::windowless {

HiddenWindow::HiddenWindow(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &HiddenWindow::windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
    // Never shown; WS_EX_TOOLWINDOW keeps it off the taskbar and Alt+Tab.
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, className, className, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, this));
}

LRESULT CALLBACK HiddenWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HiddenWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && self) self->ended_ = true;
        return 0;
    case WM_CLOSE:
        if (self) self->ended_ = true;
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool HiddenWindow::pumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ended_ = true;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return !ended_;
}

bool onInteractiveDesktop() {
    HWINSTA station = ::GetProcessWindowStation();
    if (!station) return false;
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) return false;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

platform::MessageAnswer DesktopOnlyMessages::show(const platform::MessageRequest& request) {
    if (interactive_) return inner_.show(request);
    // The box's default button: what Enter would have pressed.
    using A = platform::MessageAnswer;
    const auto pick = [&](std::initializer_list<A> buttons) {
        const auto index = static_cast<std::size_t>(request.defaultButton - 1);
        return index < buttons.size() ? *(buttons.begin() + index) : *buttons.begin();
    };
    switch (request.buttons) {
    case platform::MessageButtons::YesNo: return pick({A::Yes, A::No});
    case platform::MessageButtons::YesNoCancel: return pick({A::Yes, A::No, A::Cancel});
    case platform::MessageButtons::RetryCancel: return pick({A::Retry, A::Cancel});
    case platform::MessageButtons::OkCancel: return pick({A::Ok, A::Cancel});
    default: return A::Ok;
    }
}

platform::Platform withMessages(platform::Platform& b, platform::MessageBoxes& messages) {
    return platform::withMessages(b, messages);
}

ComApartment::ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
}

} // namespace tidemark::windowless
