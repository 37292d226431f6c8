#include "monitor/windows/win32/PasswordDialog.h"

#include <commctrl.h>

#include <vector>

#include "monitor/windows/win32/PasswordLayouts.h"
#include "platform/win32/Win32Text.h"
#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/ModalScope.h"
#include "shared/ui/win32/DialogToolTips.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kTimer = 1;
constexpr wchar_t kHiddenCharacter = L'*';

int boxId(PasswordBox box) { return box == PasswordBox::first ? IDC_TXTPASS1 : IDC_TXTPASS2; }

void wipe(std::wstring& text) {
    if (!text.empty()) ::SecureZeroMemory(&text[0], text.size() * sizeof(wchar_t));
    text.clear();
}

void toFront(HWND window) {
    if (!window) return;
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(window);
}

} // namespace

void Win32PasswordDialog::runModal() {
    {
        OtherWindowsDisabled others(owner_);
        ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_PASSWORD), owner_, dialogProcedure<Win32PasswordDialog>,
                          reinterpret_cast<LPARAM>(this));
    }
    dialog_ = nullptr;
    icon_.reset();
    smallIcon_.reset();
    font_.reset();
}

INT_PTR Win32PasswordDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(dialog_);
        layOut(windowDpi(dialog_));
        centreOnOwner(dialog_, owner_);
        if (presenter_) presenter_->load();
        ::SetFocus(::GetDlgItem(dialog_, IDC_TXTPASS1));
        return FALSE;   // the focus is set
    case WM_DPICHANGED:
        moveToSuggestedRect(dialog_, lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND: {
        if (!presenter_) return FALSE;
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (code == EN_SETFOCUS && (id == IDC_TXTPASS1 || id == IDC_TXTPASS2)) {
            presenter_->onFocused(id == IDC_TXTPASS1 ? PasswordBox::first : PasswordBox::second);
            return TRUE;
        }
        if (id == IDOK) {
            // Enter: the dialog has no default button.
            const HWND focused = ::GetFocus();
            if (focused == ::GetDlgItem(dialog_, IDC_TXTPASS1)) presenter_->onEnter(PasswordBox::first);
            else if (focused == ::GetDlgItem(dialog_, IDC_TXTPASS2)) presenter_->onEnter(PasswordBox::second);
            return TRUE;
        }
        if (id == IDC_CMDCANCEL) {
            presenter_->onCancel();
            return TRUE;
        }
        if (id == IDC_CHKSHOWPASS && code == BN_CLICKED) {
            presenter_->onShowPasswordClicked(::IsDlgButtonChecked(dialog_, IDC_CHKSHOWPASS) == BST_CHECKED);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CLOSE:
        if (presenter_) presenter_->onCancel();
        return TRUE;
    case WM_DESTROY:
        // The boxes go with their text overwritten.
        wipePasswords();
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32PasswordDialog::layOut(int dpi) {
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    applyLayout(dialog_, layout::kPasswordWidth, layout::kPasswordHeight, layout::kPassword, font_.get(), dpi);
    const int size = systemMetricForDpi(SM_CXICON, dpi);
    icon_.reset(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TIDEMARK), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    ::SendDlgItemMessageW(dialog_, IDC_PCTICON_PASIN, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    smallIcon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi);
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void Win32PasswordDialog::close() {
    if (dialog_) ::EndDialog(dialog_, IDCANCEL);
}

void Win32PasswordDialog::bringToFront() { toFront(dialog_); }

void Win32PasswordDialog::setAccount(const std::string& name) {
    if (dialog_) ::SetDlgItemTextW(dialog_, IDC_LBLACCOUNT, win32::toWide(name).c_str());
}

void Win32PasswordDialog::setLimit(unsigned characters) {
    for (int id : {IDC_TXTPASS1, IDC_TXTPASS2})
        if (dialog_) ::SendDlgItemMessageW(dialog_, id, EM_SETLIMITTEXT, characters, 0);
}

std::string Win32PasswordDialog::password(PasswordBox box) {
    HWND item = dialog_ ? ::GetDlgItem(dialog_, boxId(box)) : nullptr;
    if (!item) return {};
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    const int length = ::GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    std::string text = win32::fromWide(std::wstring_view(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0));
    wipe(buffer);
    return text;
}

void Win32PasswordDialog::wipePasswords() {
    if (!dialog_) return;
    for (int id : {IDC_TXTPASS1, IDC_TXTPASS2}) {
        HWND item = ::GetDlgItem(dialog_, id);
        const int length = ::GetWindowTextLengthW(item);
        // Text of the same length is written into the box's own buffer
        // first, so that the password does not stay behind in it.
        if (length > 0) ::SetWindowTextW(item, std::wstring(static_cast<std::size_t>(length), L' ').c_str());
        ::SetWindowTextW(item, L"");
    }
}

void Win32PasswordDialog::showPasswords(bool readable) {
    if (!dialog_) return;
    for (int id : {IDC_TXTPASS1, IDC_TXTPASS2}) {
        ::SendDlgItemMessageW(dialog_, id, EM_SETPASSWORDCHAR, readable ? 0 : kHiddenCharacter, 0);
        ::InvalidateRect(::GetDlgItem(dialog_, id), nullptr, TRUE);
    }
}

void Win32PasswordDialog::setShowChecked(bool checked) {
    if (dialog_) ::CheckDlgButton(dialog_, IDC_CHKSHOWPASS, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32PasswordDialog::focus(PasswordBox box) {
    if (dialog_) ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog_, boxId(box))), TRUE);
}

void Win32PasswordDialog::enable(bool enabled) {
    if (dialog_) ::EnableWindow(dialog_, enabled ? TRUE : FALSE);
}

void Win32PasswordDialog::startTimer(unsigned intervalMs) {
    if (dialog_) ::SetTimer(dialog_, kTimer, intervalMs, nullptr);
}

void Win32PasswordDialog::stopTimer() {
    if (dialog_) ::KillTimer(dialog_, kTimer);
}

void Win32PasswordWaitWindow::runModal(platform::NativeWindow owner) {
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_PASSWORDWAIT), reinterpret_cast<HWND>(owner),
                      dialogProcedure<Win32PasswordWaitWindow>, reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    font_.reset();
}

INT_PTR Win32PasswordWaitWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(dialog_);
        layOut(windowDpi(dialog_));
        centreOnOwner(dialog_, ::GetWindow(dialog_, GW_OWNER));
        if (presenter_) presenter_->loadWait();
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(dialog_, lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kTimer) presenter_->onWaitTimer();
        return TRUE;
    case WM_COMMAND:
    case WM_CLOSE:
        // Neither Esc nor the close box ends the wait: the test runs out.
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32PasswordWaitWindow::layOut(int dpi) {
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    applyLayout(dialog_, layout::kPasswordWaitWidth, layout::kPasswordWaitHeight, layout::kPasswordWait, font_.get(),
                dpi);
}

void Win32PasswordWaitWindow::close() {
    if (dialog_) ::EndDialog(dialog_, IDOK);
}

void Win32PasswordWaitWindow::bringToFront() { toFront(dialog_); }

void Win32PasswordWaitWindow::setText(const std::string& text) {
    if (dialog_) ::SetDlgItemTextW(dialog_, IDC_LBLPLEASE, win32::toWide(text).c_str());
}

void Win32PasswordWaitWindow::setProgress(int value, int maximum) {
    if (!dialog_) return;
    ::SendDlgItemMessageW(dialog_, IDC_PRBPASSWATE, PBM_SETRANGE32, 0, maximum);
    ::SendDlgItemMessageW(dialog_, IDC_PRBPASSWATE, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void Win32PasswordWaitWindow::enable(bool enabled) {
    if (dialog_) ::EnableWindow(dialog_, enabled ? TRUE : FALSE);
}

void Win32PasswordWaitWindow::startTimer(unsigned intervalMs) {
    if (dialog_) ::SetTimer(dialog_, kTimer, intervalMs, nullptr);
}

void Win32PasswordWaitWindow::stopTimer() {
    if (dialog_) ::KillTimer(dialog_, kTimer);
}

} // namespace tidemark::monitor
