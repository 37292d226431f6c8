#include "monitor/windows/password/win32/PasswordDialog.h"

#include <commctrl.h>

#include <vector>

#include "monitor/windows/password/win32/PasswordLayout.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kTimer = 1;
constexpr wchar_t kHiddenCharacter = L'*';

int boxId(PasswordBox box) { return box == PasswordBox::first ? IDC_PASSWORD_BOX : IDC_CONFIRM_BOX; }

void wipe(std::wstring& text) {
    if (!text.empty()) ::SecureZeroMemory(&text[0], text.size() * sizeof(wchar_t));
    text.clear();
}

} // namespace

Win32PasswordDialog::Win32PasswordDialog(HINSTANCE instance)
    : frame_(instance, {layout::kPasswordWidth, layout::kPasswordHeight, layout::kPassword}, {true, false}) {
    frame_.afterLayout = [this](int dpi) {
        const int size = systemMetricForDpi(SM_CXICON, dpi);
        icon_.reset(static_cast<HICON>(::LoadImageW(frame_.instance(), MAKEINTRESOURCEW(IDI_TIDEMARK), IMAGE_ICON, size,
                                                    size, LR_DEFAULTCOLOR)));
        ::SendMessageW(frame_.item(IDC_PASSWORD_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    };
}

void Win32PasswordDialog::runModal() {
    frame_.runModal(IDD_PASSWORD, owner_, *this);
    icon_.reset();
}

INT_PTR Win32PasswordDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.initialise(owner_);
        if (presenter_) presenter_->load();
        ::SetFocus(frame_.item(IDC_PASSWORD_BOX));
        return FALSE;   // the focus is set
    case WM_TIMER:
        if (presenter_ && wParam == kTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND: {
        if (!presenter_) return FALSE;
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (code == EN_SETFOCUS && (id == IDC_PASSWORD_BOX || id == IDC_CONFIRM_BOX)) {
            presenter_->onFocused(id == IDC_PASSWORD_BOX ? PasswordBox::first : PasswordBox::second);
            return TRUE;
        }
        if (id == IDOK) {
            // Enter: the dialog has no default button.
            const HWND focused = ::GetFocus();
            if (focused == frame_.item(IDC_PASSWORD_BOX)) presenter_->onEnter(PasswordBox::first);
            else if (focused == frame_.item(IDC_CONFIRM_BOX)) presenter_->onEnter(PasswordBox::second);
            return TRUE;
        }
        if (id == IDC_PASSWORD_CANCEL) {
            presenter_->onCancel();
            return TRUE;
        }
        if (id == IDC_SHOW_PASSWORD_BOX && code == BN_CLICKED) {
            presenter_->onShowPasswordClicked(frame_.isChecked(IDC_SHOW_PASSWORD_BOX));
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

void Win32PasswordDialog::close() { frame_.endModal(IDCANCEL); }

void Win32PasswordDialog::bringToFront() { frame_.bringToFront(); }

void Win32PasswordDialog::setAccount(const std::string& name) { frame_.setText(IDC_ACCOUNT, name); }

void Win32PasswordDialog::setLimit(unsigned characters) {
    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX})
        if (HWND box = frame_.item(id)) ::SendMessageW(box, EM_SETLIMITTEXT, characters, 0);
}

std::string Win32PasswordDialog::password(PasswordBox box) {
    HWND item = frame_.item(boxId(box));
    if (!item) return {};
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    const int length = ::GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    std::string text = win32::fromWide(std::wstring_view(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0));
    wipe(buffer);
    return text;
}

void Win32PasswordDialog::wipePasswords() {
    if (!frame_.hwnd()) return;
    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX}) {
        HWND item = ::GetDlgItem(frame_.hwnd(), id);
        const int length = ::GetWindowTextLengthW(item);
        // Text of the same length is written into the box's own buffer
        // first, so that the password does not stay behind in it.
        if (length > 0) ::SetWindowTextW(item, std::wstring(static_cast<std::size_t>(length), L' ').c_str());
        ::SetWindowTextW(item, L"");
    }
}

void Win32PasswordDialog::showPasswords(bool readable) {
    if (!frame_.hwnd()) return;
    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX}) {
        ::SendDlgItemMessageW(frame_.hwnd(), id, EM_SETPASSWORDCHAR, readable ? 0 : kHiddenCharacter, 0);
        ::InvalidateRect(::GetDlgItem(frame_.hwnd(), id), nullptr, TRUE);
    }
}

void Win32PasswordDialog::setShowChecked(bool checked) { frame_.setChecked(IDC_SHOW_PASSWORD_BOX, checked); }

void Win32PasswordDialog::focus(PasswordBox box) {
    if (HWND item = frame_.item(boxId(box))) ::SendMessageW(frame_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

void Win32PasswordDialog::enableEntry(bool enabled) {
    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX, IDC_SHOW_PASSWORD_BOX}) frame_.enable(id, enabled);
    // The focus waits on キャンセル meanwhile; the presenter puts it back.
    if (!enabled) ::SendMessageW(frame_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(frame_.item(IDC_PASSWORD_CANCEL)), TRUE);
}

void Win32PasswordDialog::startTimer(unsigned intervalMs) { frame_.startTimer(kTimer, intervalMs); }

void Win32PasswordDialog::stopTimer() { frame_.stopTimer(kTimer); }

Win32PasswordWaitWindow::Win32PasswordWaitWindow(HINSTANCE instance)
    : frame_(instance, {layout::kPasswordWaitWidth, layout::kPasswordWaitHeight, layout::kPasswordWait},
             {false, false}) {}

void Win32PasswordWaitWindow::runModal(platform::NativeWindow owner) {
    // Its owner, the password dialog, is modal already.
    frame_.runModal(IDD_PASSWORDWAIT, reinterpret_cast<HWND>(owner), *this, true);
}

INT_PTR Win32PasswordWaitWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.initialise(::GetWindow(frame_.hwnd(), GW_OWNER));
        if (presenter_) presenter_->loadWait();
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kTimer) presenter_->onWaitTimer();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && presenter_) presenter_->onWaitCloseRequested();
        return TRUE;
    case WM_CLOSE:
        if (presenter_) presenter_->onWaitCloseRequested();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32PasswordWaitWindow::close() { frame_.endModal(IDOK); }

void Win32PasswordWaitWindow::bringToFront() { frame_.bringToFront(); }

void Win32PasswordWaitWindow::setText(const std::string& text) { frame_.setText(IDC_WAIT_TEXT, text); }

void Win32PasswordWaitWindow::setProgress(int value, int maximum) {
    HWND bar = frame_.item(IDC_WAIT_PROGRESS);
    if (!bar) return;
    ::SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void Win32PasswordWaitWindow::startTimer(unsigned intervalMs) { frame_.startTimer(kTimer, intervalMs); }

void Win32PasswordWaitWindow::stopTimer() { frame_.stopTimer(kTimer); }

} // namespace tidemark::monitor
