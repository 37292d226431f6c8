#include "monitor/windows/win32/AboutDialog.h"

#include <string>

#include "shared/ui/win32/DialogLayout.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

int controlId(AboutControl control) {
    switch (control) {
    case AboutControl::Title: return IDC_LBLTITLE;
    case AboutControl::Version: return IDC_LBLVERSION;
    case AboutControl::OkButton: return IDOK;
    case AboutControl::SystemInfoButton: return IDC_CMDSYSINFO;
    }
    return 0;
}

RECT windowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

} // namespace

void Win32AboutDialog::runModal() {
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUT), owner_.hwnd(), dialogProcedure<Win32AboutDialog>,
                      reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    icon_.reset();
    font_.reset();
}

INT_PTR Win32AboutDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(dialog_);
        layOut(windowDpi(dialog_));
        if (presenter_) presenter_->load();
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(dialog_, lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        if (!presenter_) return FALSE;
        if (LOWORD(wParam) == IDC_CMDSYSINFO) presenter_->onSystemInfoClicked();
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) presenter_->onOkClicked();
        return TRUE;
    case WM_CLOSE:
        close();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32AboutDialog::layOut(int dpi) {
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    applyLayout(dialog_, layout::kAboutWidth, layout::kAboutHeight, layout::kAbout, font_.get(), dpi);
    const int size = mulDiv(layout::kAboutIconPixels, dpi, kBaseDpi);
    icon_.reset(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TIDEMARK), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    ::SendDlgItemMessageW(dialog_, IDC_PICICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

void Win32AboutDialog::close() {
    if (dialog_) ::EndDialog(dialog_, IDOK);
}

void Win32AboutDialog::setCaption(const std::string& text) {
    if (dialog_) ::SetWindowTextW(dialog_, win32::toWide(text).c_str());
}

void Win32AboutDialog::setText(AboutControl control, const std::string& text) {
    if (dialog_) ::SetDlgItemTextW(dialog_, controlId(control), win32::toWide(text).c_str());
}

void Win32AboutDialog::enable(AboutControl control, bool enabled) {
    if (dialog_) ::EnableWindow(::GetDlgItem(dialog_, controlId(control)), enabled ? TRUE : FALSE);
}

void Win32AboutDialog::focus(AboutControl control) {
    if (!dialog_) return;
    ::SetForegroundWindow(dialog_);
    // Through the dialog manager, so that the default button follows.
    ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog_, controlId(control))), TRUE);
}

int Win32AboutDialog::width() {
    const RECT r = windowRect(dialog_);
    return r.right - r.left;
}

int Win32AboutDialog::height() {
    const RECT r = windowRect(dialog_);
    return r.bottom - r.top;
}

void Win32AboutDialog::moveTo(int leftPixels, int topPixels) {
    if (dialog_)
        ::SetWindowPos(dialog_, nullptr, leftPixels, topPixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
