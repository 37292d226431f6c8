#include "monitor/windows/admin/win32/AdminSettingsWindow.h"

#include <commctrl.h>

#include "monitor/windows/admin/win32/AdminLayout.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kPollTimer = 1;

int controlId(AdminControl control) {
    switch (control) {
    case AdminControl::systemStartBox: return IDC_SYSTEM_START_BOX;
    case AdminControl::systemStartNote: return IDC_SYSTEM_START_NOTE;
    case AdminControl::fastOption: return IDC_FAST_OPTION;
    case AdminControl::slowOption: return IDC_SLOW_OPTION;
    case AdminControl::slowSettingsButton: return IDC_SLOW_SETTINGS_BUTTON;
    case AdminControl::watchBox: return IDC_WATCH_BOX;
    case AdminControl::watchSettingsButton: return IDC_WATCH_SETTINGS_BUTTON;
    }
    return 0;
}

std::optional<AdminControl> controlOf(int id) {
    for (AdminControl c : {AdminControl::systemStartBox, AdminControl::fastOption, AdminControl::slowOption,
                           AdminControl::slowSettingsButton, AdminControl::watchBox, AdminControl::watchSettingsButton})
        if (controlId(c) == id) return c;
    return std::nullopt;
}

} // namespace

Win32AdminSettingsWindow::Win32AdminSettingsWindow(HINSTANCE instance, ModelessDialogs& dialogs)
    : frame_(instance, {layout::kAdminWidth, layout::kAdminHeight, layout::kAdmin}, {true, false}), dialogs_(dialogs) {}

void Win32AdminSettingsWindow::create() {
    if (frame_.hwnd()) return;
    if (!frame_.createModeless(IDD_ADMIN, *this, dialogs_)) return;
    frame_.insertTabs(IDC_ADMIN_TABS, {L"起動設定", L"クリーニング設定"});
    selectPage(0);
}

void Win32AdminSettingsWindow::destroy() {
    frame_.stopTimer(kPollTimer);
    frame_.destroyModeless();
}

INT_PTR Win32AdminSettingsWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.initialise();
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kPollTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        if (const auto page = frame_.changedTab(IDC_ADMIN_TABS, lParam)) showPage(*page);
        return FALSE;
    case WM_CLOSE:
        if (presenter_) presenter_->onClose();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32AdminSettingsWindow::onCommand(int id, int code) {
    if (!presenter_) return;
    const auto control = controlOf(id);
    if (!control) return;
    if (code == BN_SETFOCUS) {
        presenter_->onFocus(*control);
        return;
    }
    if (code != BN_CLICKED) return;
    const bool checked = frame_.isChecked(id);
    switch (*control) {
    case AdminControl::systemStartBox: presenter_->onSystemStartClicked(checked); break;
    case AdminControl::watchBox: presenter_->onWatchClicked(checked); break;
    case AdminControl::fastOption:
        if (checked) presenter_->onFastSelected();
        break;
    case AdminControl::slowOption:
        if (checked) presenter_->onSlowSelected();
        break;
    case AdminControl::slowSettingsButton: presenter_->onSlowSettingsClicked(); break;
    case AdminControl::watchSettingsButton: presenter_->onWatchSettingsClicked(); break;
    default: break;
    }
}

void Win32AdminSettingsWindow::showPage(int page) {
    for (int id : layout::kAdminPage0) frame_.showControl(id, page == 0);
    for (int id : layout::kAdminPage1) frame_.showControl(id, page == 1);
}

void Win32AdminSettingsWindow::show() { frame_.show(); }

void Win32AdminSettingsWindow::bringToFront() { frame_.bringToFront(); }

void Win32AdminSettingsWindow::setChecked(AdminControl control, bool checked) {
    frame_.setChecked(controlId(control), checked);
}

void Win32AdminSettingsWindow::enable(AdminControl control, bool enabled) {
    if (HWND item = frame_.item(controlId(control))) ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void Win32AdminSettingsWindow::setText(AdminControl control, const std::string& text) {
    frame_.setText(controlId(control), text);
}

void Win32AdminSettingsWindow::selectPage(int page) {
    if (!frame_.hwnd()) return;
    ::SendMessageW(frame_.item(IDC_ADMIN_TABS), TCM_SETCURSEL, page, 0);
    showPage(page);
}

void Win32AdminSettingsWindow::startTimer(unsigned intervalMs) { frame_.startTimer(kPollTimer, intervalMs); }

void Win32AdminSettingsWindow::stopTimer() { frame_.stopTimer(kPollTimer); }

} // namespace tidemark::monitor
