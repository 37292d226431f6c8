#include "transfer/win32/StowelWindow.h"

#include "shared/ui/win32/DialogLayout.h"
#include "platform/win32/Win32Text.h"
#include "transfer/win32/StowelLayout.h"

namespace tidemark::transfer {
namespace {

int controlId(StowelControl control) {
    switch (control) {
    case StowelControl::Explanation: return IDC_LBLCOVER;
    case StowelControl::ExportButton: return IDC_CMDSAVE;
    case StowelControl::ImportButton: return IDC_CMDLOAD;
    }
    return 0;
}

} // namespace

void Win32StowelWindow::run() {
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SAVE), nullptr, monitor::dialogProcedure<Win32StowelWindow>,
                      reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
}

INT_PTR Win32StowelWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        monitor::disableAutomaticDialogScaling(dialog_);
        layOut(monitor::windowDpi(dialog_));
        if (presenter_) presenter_->load();
        return TRUE;
    case WM_DPICHANGED:
        monitor::moveToSuggestedRect(dialog_, lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        if (!presenter_) return FALSE;
        if (LOWORD(wParam) == IDC_CMDSAVE) presenter_->onSaveClicked();
        else if (LOWORD(wParam) == IDC_CMDLOAD) presenter_->onLoadClicked();
        else if (LOWORD(wParam) == IDCANCEL) close();
        return TRUE;
    case WM_CLOSE:
        close();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32StowelWindow::layOut(int dpi) {
    font_ = monitor::createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    monitor::applyLayout(dialog_, layout::kSaveWidth, layout::kSaveHeight, layout::kSave, font_.get(), dpi);
    const auto iconAt = [&](int metric) {
        const int size = monitor::systemMetricForDpi(metric, dpi);
        return static_cast<HICON>(
            ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TIDEMARK), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    };
    bigIcon_.reset(iconAt(SM_CXICON));
    smallIcon_.reset(iconAt(SM_CXSMICON));
    ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void Win32StowelWindow::setCaption(const std::string& text) {
    if (dialog_) ::SetWindowTextW(dialog_, win32::toWide(text).c_str());
}

void Win32StowelWindow::setText(StowelControl control, const std::string& text) {
    if (dialog_) ::SetDlgItemTextW(dialog_, controlId(control), win32::toWide(text).c_str());
}

void Win32StowelWindow::close() {
    if (dialog_) ::EndDialog(dialog_, IDOK);
}

} // namespace tidemark::transfer
