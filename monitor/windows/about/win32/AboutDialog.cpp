#include "monitor/windows/about/win32/AboutDialog.h"

#include <string>

#include "monitor/windows/about/win32/AboutLayout.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

int controlId(AboutControl control) {
    switch (control) {
    case AboutControl::Title: return IDC_ABOUT_TITLE;
    case AboutControl::Version: return IDC_ABOUT_VERSION;
    case AboutControl::OkButton: return IDOK;
    case AboutControl::SystemInfoButton: return IDC_SYSTEM_INFO_BUTTON;
    }
    return 0;
}

RECT windowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

} // namespace

Win32AboutDialog::Win32AboutDialog(HINSTANCE instance, const OwnerWindow& owner)
    : frame_(instance, {layout::kAboutWidth, layout::kAboutHeight, layout::kAbout}, {false, false}), owner_(owner) {
    frame_.afterLayout = [this](int dpi) {
        const int size = mulDiv(layout::kAboutIconPixels, dpi, kBaseDpi);
        icon_.reset(static_cast<HICON>(::LoadImageW(frame_.instance(), MAKEINTRESOURCEW(IDI_TIDEMARK), IMAGE_ICON, size,
                                                    size, LR_DEFAULTCOLOR)));
        ::SendMessageW(frame_.item(IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    };
}

void Win32AboutDialog::runModal() {
    frame_.runModal(IDD_ABOUT, owner_.hwnd(), *this, true);
    icon_.reset();
}

INT_PTR Win32AboutDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.initialise();
        if (presenter_) presenter_->load();
        return TRUE;
    case WM_COMMAND:
        if (!presenter_) return FALSE;
        if (LOWORD(wParam) == IDC_SYSTEM_INFO_BUTTON) presenter_->onSystemInfoClicked();
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) presenter_->onOkClicked();
        return TRUE;
    case WM_CLOSE:
        close();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32AboutDialog::close() { frame_.endModal(IDOK); }

void Win32AboutDialog::setCaption(const std::string& text) {
    if (frame_.hwnd()) ::SetWindowTextW(frame_.hwnd(), win32::toWide(text).c_str());
}

void Win32AboutDialog::setText(AboutControl control, const std::string& text) {
    frame_.setText(controlId(control), text);
}

void Win32AboutDialog::enable(AboutControl control, bool enabled) {
    if (HWND item = frame_.item(controlId(control))) ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void Win32AboutDialog::focus(AboutControl control) {
    if (!frame_.hwnd()) return;
    ::SetForegroundWindow(frame_.hwnd());
    // Through the dialog manager, so that the default button follows.
    ::SendMessageW(frame_.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(frame_.hwnd(), controlId(control))), TRUE);
}

int Win32AboutDialog::width() {
    const RECT r = windowRect(frame_.hwnd());
    return r.right - r.left;
}

int Win32AboutDialog::height() {
    const RECT r = windowRect(frame_.hwnd());
    return r.bottom - r.top;
}

void Win32AboutDialog::moveTo(int leftPixels, int topPixels) {
    if (frame_.hwnd())
        ::SetWindowPos(frame_.hwnd(), nullptr, leftPixels, topPixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<platform::Rect> Win32AboutDialog::visibleOwnerRect() {
    HWND owner = owner_.hwnd();
    if (!owner || !::IsWindowVisible(owner)) return std::nullopt;
    const RECT r = windowRect(owner);
    return platform::Rect{r.left, r.top, r.right, r.bottom};
}

ProgramVersion Win32AboutDialog::programVersion() {
    ProgramVersion v;
    wchar_t path[MAX_PATH * 2];
    if (!::GetModuleFileNameW(nullptr, path, MAX_PATH * 2)) return v;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return v;
    std::string data(size, '\0');
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) return v;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return v;
    v.major = HIWORD(info->dwFileVersionMS);
    v.minor = LOWORD(info->dwFileVersionMS);
    v.revision = HIWORD(info->dwFileVersionLS);
    return v;
}

} // namespace tidemark::monitor
