#include "monitor/windows/win32/AdminSettingsWindow.h"

#include <commctrl.h>

#include "monitor/windows/win32/AdminLayouts.h"
#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/DialogToolTips.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kPollTimer = 1;

int controlId(AdminControl control) {
    switch (control) {
    case AdminControl::systemStartBox: return IDC_CHKSYSSTART;
    case AdminControl::systemStartNote: return IDC_LBLSYSSTARTCOM;
    case AdminControl::fastOption: return IDC_OPTCLEANFIRST;
    case AdminControl::slowOption: return IDC_OPTCLEANSLOW;
    case AdminControl::slowSettingsButton: return IDC_CMDCLEANSET;
    case AdminControl::watchBox: return IDC_CHKPROCWATCH;
    case AdminControl::watchSettingsButton: return IDC_CMDPROCWATCH;
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

void Win32AdminSettingsWindow::create() {
    if (window_) return;
    HWND created = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_ADMIN), nullptr,
                                        dialogProcedure<Win32AdminSettingsWindow>, reinterpret_cast<LPARAM>(this));
    if (window_.get() != created) window_.reset(created);
    if (!window_) return;
    dialogs_.add(window_.get());
    HWND tabs = ::GetDlgItem(window_.get(), IDC_ADMINTABS);
    const wchar_t* names[] = {L"起動設定", L"クリーニング設定"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(names[i]);
        ::SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    selectPage(0);
}

void Win32AdminSettingsWindow::destroy() {
    if (!window_) return;
    ::KillTimer(window_.get(), kPollTimer);
    dialogs_.remove(window_.get());
    window_.reset();
}

INT_PTR Win32AdminSettingsWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(window_.get());
        layOut(windowDpi(window_.get()));
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(window_.get(), lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kPollTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_ADMINTABS && header->code == TCN_SELCHANGE)
            showPage(static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
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
    const bool checked = ::IsDlgButtonChecked(window_.get(), id) == BST_CHECKED;
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
    HWND w = window_.get();
    for (int id : layout::kAdminPage0) ::ShowWindow(::GetDlgItem(w, id), page == 0 ? SW_SHOW : SW_HIDE);
    for (int id : layout::kAdminPage1) ::ShowWindow(::GetDlgItem(w, id), page == 1 ? SW_SHOW : SW_HIDE);
}

void Win32AdminSettingsWindow::layOut(int dpi) {
    HWND w = window_.get();
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    applyLayout(w, layout::kAdminWidth, layout::kAdminHeight, layout::kAdmin, font_.get(), dpi);
    // The tab control stays below the pages' controls.
    ::SetWindowPos(::GetDlgItem(w, IDC_ADMINTABS), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    icon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi);
    ::SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void Win32AdminSettingsWindow::show() {
    if (!window_) return;
    ::ShowWindow(window_.get(), SW_SHOW);
    ::SetForegroundWindow(window_.get());
}

void Win32AdminSettingsWindow::bringToFront() {
    if (!window_) return;
    if (::IsIconic(window_.get())) ::ShowWindow(window_.get(), SW_RESTORE);
    ::SetForegroundWindow(window_.get());
}

void Win32AdminSettingsWindow::setChecked(AdminControl control, bool checked) {
    // BM_SETCHECK sends no click: what the presenter sets is not an event.
    if (window_) ::CheckDlgButton(window_.get(), controlId(control), checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32AdminSettingsWindow::enable(AdminControl control, bool enabled) {
    if (window_) ::EnableWindow(::GetDlgItem(window_.get(), controlId(control)), enabled ? TRUE : FALSE);
}

void Win32AdminSettingsWindow::setText(AdminControl control, const std::string& text) {
    if (window_) ::SetDlgItemTextW(window_.get(), controlId(control), win32::toWide(text).c_str());
}

void Win32AdminSettingsWindow::selectPage(int page) {
    if (!window_) return;
    ::SendDlgItemMessageW(window_.get(), IDC_ADMINTABS, TCM_SETCURSEL, page, 0);
    showPage(page);
}

void Win32AdminSettingsWindow::startTimer(unsigned intervalMs) {
    if (window_) ::SetTimer(window_.get(), kPollTimer, intervalMs, nullptr);
}

void Win32AdminSettingsWindow::stopTimer() {
    if (window_) ::KillTimer(window_.get(), kPollTimer);
}

} // namespace tidemark::monitor
