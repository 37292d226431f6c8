#include "shared/ui/win32/DialogToolTips.h"

#include <commctrl.h>

#include "platform/win32/Win32Text.h"
#include "shared/ui/win32/DialogLayout.h"

namespace tidemark::monitor {
namespace {

constexpr LPARAM kMaxTipWidth = 480;

TOOLINFOW toolFor(HWND dialog, HWND control, const wchar_t* text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

} // namespace

void DialogToolTips::create(HWND dialog, HINSTANCE instance) {
    dialog_ = dialog;
    tips_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  instance, nullptr));
    if (!tips_) return;
    ::SendMessageW(tips_.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    // Every control is a tool; those without a text show no tip.
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        TOOLINFOW tool = toolFor(dialog, control, L"");
        ::SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void DialogToolTips::setText(HWND control, const std::string& text) {
    if (!tips_ || !control) return;
    const std::wstring wide = win32::toWide(text);
    TOOLINFOW tool = toolFor(dialog_, control, wide.c_str());
    ::SendMessageW(tips_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

win32::UniqueIcon loadSmallIcon(HINSTANCE instance, int iconId, int dpi) {
    const int size = systemMetricForDpi(SM_CXSMICON, dpi);
    return win32::UniqueIcon(static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

} // namespace tidemark::monitor
