#include "monitor/windows/settings/win32/SettingsWindow.h"

#include <commctrl.h>

#include <utility>

#include "monitor/windows/settings/win32/SettingsLayout.h"

namespace tidemark::monitor {
namespace {

struct ControlInfo {
    SettingsControl control;
    int id;
    int page;
};

constexpr ControlInfo kControls[] = {
    {SettingsControl::CleanerFrame, IDC_CLEANER_FRAME, 0},  {SettingsControl::TriggerBox, IDC_TRIGGER_BOX, 0},
    {SettingsControl::SizeBox, IDC_SIZE_BOX, 0},    {SettingsControl::AutoButton, IDC_AUTO_BUTTON, 0},
    {SettingsControl::DecideButton, IDC_DECIDE_BUTTON, 0},    {SettingsControl::StartupFrame, IDC_STARTUP_FRAME, 1},
    {SettingsControl::AllUsersStartup, IDC_ALL_USERS_STARTUP, 1},    {SettingsControl::UserStartup, IDC_USER_STARTUP, 1},
    {SettingsControl::IconFrame, IDC_ICON_FRAME, 2},         {SettingsControl::AllUsersIcon, IDC_ALL_USERS_ICON, 2},
    {SettingsControl::UserIcon, IDC_USER_ICON, 2},        {SettingsControl::ScreenFrame, IDC_SCREEN_FRAME, 3},
    {SettingsControl::GraphOption, IDC_GRAPH_OPTION, 3},      {SettingsControl::NumbersOption, IDC_NUMBERS_OPTION, 3},
};

// The labels, which the presenter never addresses, and their pages.
constexpr std::pair<int, int> kLabels[] = {
    {IDC_TRIGGER_CAPTION, 0}, {IDC_TRIGGER_UNIT, 0}, {IDC_SIZE_CAPTION, 0}, {IDC_SIZE_UNIT, 0}};

int idOf(SettingsControl control) {
    for (const ControlInfo& c : kControls)
        if (c.control == control) return c.id;
    return 0;
}

const ControlInfo* infoOf(int id) {
    for (const ControlInfo& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}

} // namespace

Win32SettingsWindow::Win32SettingsWindow(HINSTANCE instance, ModelessDialogs& dialogs)
    : frame_(instance, {layout::kSettingsWidth, layout::kSettingsHeight, layout::kSettings}, {true, true}),
      dialogs_(dialogs) {}

Win32SettingsWindow::~Win32SettingsWindow() { destroy(); }

void Win32SettingsWindow::create() {
    if (frame_.hwnd()) return;
    if (!frame_.createModeless(IDD_SETTINGS, *this, dialogs_)) return;
    frame_.filterTypedCharacters({IDC_TRIGGER_BOX, IDC_SIZE_BOX}, DialogFrame::Typed::all,
                                 [this](int id, std::uint32_t code) { return onCharacter(id, code); });
}

void Win32SettingsWindow::show() { frame_.show(); }

void Win32SettingsWindow::runModal() {
    if (!frame_.hwnd()) return;
    {
        OtherWindowsDisabled others(frame_.hwnd(), OtherWindowsDisabled::Reach::all);
        show();
        MSG msg;
        while (frame_.hwnd()) {
            const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got <= 0) {
                // The program is ending: the quit goes on to the main loop.
                if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (dialogs_.route(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    destroy();
}

void Win32SettingsWindow::destroy() { frame_.destroyModeless(); }

void Win32SettingsWindow::bringToFront() {
    HWND w = frame_.hwnd();
    if (!w) return;
    if (::IsIconic(w)) ::ShowWindow(w, SW_RESTORE);
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
}

INT_PTR Win32SettingsWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.insertTabs(IDC_SETTINGS_TABS, {L"クリーナー設定", L"スタートアップ", L"アイコン", L"画面"});
        frame_.initialise();
        showPage(0);
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        if (const auto page = frame_.changedTab(IDC_SETTINGS_TABS, lParam)) showPage(*page);
        return FALSE;
    case WM_CLOSE:
        if (presenter_) presenter_->onClosed();
        return TRUE;
    default:
        return FALSE;
    }
}

bool Win32SettingsWindow::onCharacter(int id, std::uint32_t code) {
    const ControlInfo* info = infoOf(id);
    return !presenter_ || !info || presenter_->onCharacterTyped(info->control, code);
}

void Win32SettingsWindow::onCommand(int id, int code) {
    if (!presenter_) return;
    if (id == IDCANCEL) {
        presenter_->onClosed();
        return;
    }
    const ControlInfo* info = infoOf(id);
    if (!info) return;
    if (code == EN_SETFOCUS || code == BN_SETFOCUS) {
        presenter_->onFocused(info->control);
        return;
    }
    if (code != BN_CLICKED) return;
    const bool checked = frame_.isChecked(id);
    switch (info->control) {
    case SettingsControl::AutoButton: presenter_->onAutoClicked(); break;
    case SettingsControl::DecideButton: presenter_->onDecideClicked(); break;
    case SettingsControl::GraphOption:
    case SettingsControl::NumbersOption:
        if (checked) presenter_->onOptionSelected(info->control);
        break;
    default: presenter_->onCheckClicked(info->control, checked); break;
    }
}

void Win32SettingsWindow::showPage(int page) {
    if (!frame_.hwnd()) return;
    ::SendMessageW(frame_.item(IDC_SETTINGS_TABS), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (const ControlInfo& c : kControls) frame_.showControl(c.id, c.page == page);
    for (const auto& [id, labelPage] : kLabels) frame_.showControl(id, labelPage == page);
    // Enter decides where the figures are; elsewhere it presses nothing.
    ::SendMessageW(frame_.hwnd(), DM_SETDEFID, page == 0 ? IDC_DECIDE_BUTTON : IDOK, 0);
}

void Win32SettingsWindow::setText(SettingsControl control, const std::string& text) {
    frame_.setText(idOf(control), text);
}

std::string Win32SettingsWindow::text(SettingsControl control) { return frame_.text(idOf(control)); }

void Win32SettingsWindow::setTooltip(SettingsControl control, const std::string& text) {
    frame_.setTooltip(idOf(control), text);
}

void Win32SettingsWindow::enable(SettingsControl control, bool enabled) {
    if (HWND item = frame_.item(idOf(control))) ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void Win32SettingsWindow::setChecked(SettingsControl control, bool checked) {
    if (!frame_.hwnd()) return;
    const int id = idOf(control);
    if (checked && (control == SettingsControl::GraphOption || control == SettingsControl::NumbersOption))
        ::CheckRadioButton(frame_.hwnd(), IDC_GRAPH_OPTION, IDC_NUMBERS_OPTION, id);
    else
        frame_.setChecked(id, checked);
}

void Win32SettingsWindow::selectTab(SettingsTab tab) { showPage(static_cast<int>(tab)); }

void Win32SettingsWindow::focus(SettingsControl control) {
    if (HWND item = frame_.item(idOf(control)))
        ::SendMessageW(frame_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

void Win32SettingsWindow::selectAll(SettingsControl control) {
    if (HWND item = frame_.item(idOf(control))) ::SendMessageW(item, EM_SETSEL, 0, -1);
}

void Win32SettingsWindow::beep() { ::MessageBeep(MB_OK); }

int Win32SettingsWindow::width() {
    RECT r{};
    if (frame_.hwnd()) ::GetWindowRect(frame_.hwnd(), &r);
    return r.right - r.left;
}

void Win32SettingsWindow::moveTo(int leftPixels, int topPixels) {
    if (frame_.hwnd())
        ::SetWindowPos(frame_.hwnd(), nullptr, leftPixels, topPixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace tidemark::monitor
