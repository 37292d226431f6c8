#include "monitor/windows/tray/win32/TrayIcon.h"

#include <algorithm>
#include <string>

#include "shared/ui/win32/DialogLayout.h"
#include "monitor/windows/win32/TrayMessages.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

struct CommandId {
    TrayCommand command;
    int id;
};

constexpr CommandId kCommandIds[] = {
    {TrayCommand::Cancel, IDM_TRAY_MENU_CANCEL}, {TrayCommand::Close, IDM_TRAY_MENU_CLOSE},
    {TrayCommand::Hide, IDM_TRAY_MENU_HIDE},     {TrayCommand::Show, IDM_TRAY_MENU_SHOW},
    {TrayCommand::Fix, IDM_TRAY_MENU_SETTINGS},       {TrayCommand::AdmFix, IDM_TRAY_MENU_ADMIN},
    {TrayCommand::Ver, IDM_TRAY_MENU_ABOUT},   {TrayCommand::CleanNow, IDM_TRAY_MENU_CLEAN_NOW},
};

int menuIdOf(TrayCommand command) {
    for (const CommandId& c : kCommandIds)
        if (c.command == command) return c.id;
    return IDM_TRAY_MENU_CANCEL;
}

int iconResource(TrayImage image) {
    switch (image) {
    case TrayImage::Frm_00_Blue: return IDI_FRM_00_BLUE;
    case TrayImage::Frm_01_Yellow: return IDI_FRM_01_YELLOW;
    case TrayImage::Frm_02_Yellow: return IDI_FRM_02_YELLOW;
    case TrayImage::Frm_03_Red: return IDI_FRM_03_RED;
    case TrayImage::Frm_04_Red: return IDI_FRM_04_RED;
    default: return IDI_TIDEMARK;
    }
}

} // namespace

TrayMouse trayMouseOf(LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_LBUTTONUP: return TrayMouse::LeftButtonUp;
    case WM_RBUTTONDOWN: return TrayMouse::RightButtonDown;
    case NIN_SELECT: return TrayMouse::Select;
    case NIN_KEYSELECT: return TrayMouse::KeySelect;
    case WM_CONTEXTMENU: return TrayMouse::ContextMenu;
    default: return TrayMouse::Other;
    }
}

PixelPoint trayAnchorOf(WPARAM wParam) {
    return {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
}

std::optional<TrayCommand> trayCommandOf(int id) {
    for (const CommandId& c : kCommandIds)
        if (c.id == id) return c.command;
    return std::nullopt;
}

Win32TrayView::Win32TrayView(HINSTANCE instance, const OwnerWindow& owner)
    : instance_(instance), owner_(owner), taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {}

bool Win32TrayView::onOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!presenter_) return false;
    if (message == kTrayCallbackMessage) {
        presenter_->onTrayCallback(trayMouseOf(lParam), trayAnchorOf(wParam));
        return true;
    }
    if (message == taskbarCreated_) {
        presenter_->onTaskbarCreated();
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {
        if (const auto command = trayCommandOf(LOWORD(wParam))) {
            presenter_->menuCommand(*command);
            return true;
        }
    }
    return false;
}

HICON Win32TrayView::iconFor(TrayImage image) {
    // The small icon's size for the owner's DPI, as the shell asks for it.
    const int dpi = windowDpi(owner_.hwnd());
    if (dpi != iconsDpi_) {
        icons_.clear();
        iconsDpi_ = dpi;
    }
    win32::UniqueIcon& icon = icons_[image == TrayImage::None ? TrayImage::Program : image];
    if (!icon) {
        const int size = systemMetricForDpi(SM_CXSMICON, dpi);
        icon.reset(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(iconResource(image)), IMAGE_ICON, size,
                                                   size, LR_DEFAULTCOLOR)));
    }
    return icon.get();
}

bool Win32TrayView::notify(DWORD action, TrayImage image, const std::string& tip) {
    if (!owner_.hwnd()) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_.hwnd();
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = iconFor(image);
    const std::wstring wide = win32::toWide(tip);
    const std::size_t room = sizeof data.szTip / sizeof data.szTip[0] - 1;
    wide.copy(data.szTip, std::min(room, wide.size()));
    return ::Shell_NotifyIconW(action, &data) != FALSE;
}

void Win32TrayView::deleteIcon() {
    if (!owner_.hwnd()) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_.hwnd();
    data.uID = 0;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

bool Win32TrayView::useVersion4() {
    if (!owner_.hwnd()) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_.hwnd();
    data.uID = 0;
    data.uVersion = NOTIFYICON_VERSION_4;
    return ::Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
}

platform::NativeWindow Win32TrayView::findTaskbar() {
    return reinterpret_cast<platform::NativeWindow>(::FindWindowW(L"Shell_TrayWnd", nullptr));
}

void Win32TrayView::popUpMenu(const std::vector<TrayMenuItem>& items, std::optional<PixelPoint> anchor) {
    HWND owner = owner_.hwnd();
    win32::UniqueMenu menu(::CreatePopupMenu());
    if (!menu || !owner) return;
    for (const TrayMenuItem& item : items) {
        if (item.separator) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(menu.get(), MF_STRING | (item.enabled ? 0u : MF_GRAYED),
                          static_cast<UINT_PTR>(menuIdOf(item.command)), win32::toWide(item.text).c_str());
        }
    }
    POINT at{};
    if (anchor) at = {anchor->left, anchor->top};
    else ::GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere or presses Esc only if
    // its owner is the foreground window; the null message afterwards lets
    // it go.
    HWND before = ::GetForegroundWindow();
    ::SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen != 0) {
        // Queued as the menu itself would queue it.
        ::PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    } else if (::GetForegroundWindow() == owner) {
        // Closed with Esc (a click elsewhere has moved the foreground).
        giveFocusBack(before);
    }
}

void Win32TrayView::giveFocusBack(HWND before) {
    wchar_t name[64] = {};
    HWND root = before ? ::GetAncestor(before, GA_ROOT) : nullptr;
    if (root) ::GetClassNameW(root, name, 64);
    const std::wstring kind = name;
    if (!root || kind == L"Shell_TrayWnd" || kind == L"NotifyIconOverflowWindow") {
        // The menu came from the notification area: the focus goes back
        // to the icon.
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = owner_.hwnd();
        data.uID = 0;
        ::Shell_NotifyIconW(NIM_SETFOCUS, &data);
    } else {
        ::SetForegroundWindow(root);
    }
}

} // namespace tidemark::monitor
