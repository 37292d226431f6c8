#include "monitor/windows/win32/SlowCleaningDialog.h"

#include <commctrl.h>

#include "monitor/windows/win32/AdminLayouts.h"
#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/ModalScope.h"
#include "shared/ui/win32/DialogToolTips.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT_PTR kBoxSubclass = 1;

int controlId(SlowCleaningControl control) {
    switch (control) {
    case SlowCleaningControl::settingsFrame: return IDC_FRMSLOWFRM;
    case SlowCleaningControl::pauseBox: return IDC_TXTSLEEPTIME;
    case SlowCleaningControl::pauseLabel: return IDC_LBLSLEEPTIME;
    case SlowCleaningControl::stepBox: return IDC_TXTCLENSTEPSIZE;
    case SlowCleaningControl::stepLabel: return IDC_LBLCLENSTEPSIZE;
    case SlowCleaningControl::defaultsButton: return IDC_CMDINITIAL;
    case SlowCleaningControl::applyButton: return IDC_CMDREFLECTION;
    case SlowCleaningControl::statusFrame: return IDC_FRMSLOWCLERAN;
    case SlowCleaningControl::statusLabel: return IDC_LBLCLENSITUAT;
    case SlowCleaningControl::stopButton: return IDC_CMDDISCON;
    }
    return 0;
}

} // namespace

void Win32SlowCleaningDialog::runModal() {
    {
        OtherWindowsDisabled others(owner_);
        ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SLOWCLEANING), owner_,
                          dialogProcedure<Win32SlowCleaningDialog>, reinterpret_cast<LPARAM>(this));
    }
    tips_.destroy();
    dialog_ = nullptr;
    icon_.reset();
    font_.reset();
}

INT_PTR Win32SlowCleaningDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(dialog_);
        layOut(windowDpi(dialog_));
        for (int id : {IDC_TXTSLEEPTIME, IDC_TXTCLENSTEPSIZE})
            ::SetWindowSubclass(::GetDlgItem(dialog_, id), boxProcedure, kBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
        tips_.create(dialog_, instance_);
        centreOnOwner(dialog_, owner_);   // the administrator window
        if (presenter_) presenter_->load();
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(dialog_, lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kStatusTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND:
        if (!presenter_ || HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_CMDINITIAL: presenter_->onDefaultsClicked(); break;
        case IDC_CMDREFLECTION: presenter_->onApplyClicked(); break;
        case IDC_CMDDISCON: presenter_->onStopClicked(); break;
        case IDCANCEL: presenter_->onCloseRequested(); break;
        default: return FALSE;
        }
        return TRUE;
    case WM_CLOSE:
        if (presenter_) presenter_->onCloseRequested();
        return TRUE;
    case WM_DESTROY:
        for (int id : {IDC_TXTSLEEPTIME, IDC_TXTCLENSTEPSIZE})
            ::RemoveWindowSubclass(::GetDlgItem(dialog_, id), boxProcedure, kBoxSubclass);
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK Win32SlowCleaningDialog::boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                       DWORD_PTR self) {
    auto* view = reinterpret_cast<Win32SlowCleaningDialog*>(self);
    // Control characters other than backspace (Ctrl+C, Ctrl+V, ...) are the
    // edit box's own commands, not typing.
    if (message == WM_CHAR && view->presenter_ && (wParam >= 0x20 || wParam == 8) &&
        !view->presenter_->onCharTyped(static_cast<std::uint32_t>(wParam)))
        return 0;
    return ::DefSubclassProc(box, message, wParam, lParam);
}

void Win32SlowCleaningDialog::layOut(int dpi) {
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    applyLayout(dialog_, layout::kSlowWidth, layout::kSlowHeight, layout::kSlow, font_.get(), dpi);
    icon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi);
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void Win32SlowCleaningDialog::close() {
    if (dialog_) ::EndDialog(dialog_, IDOK);
}

void Win32SlowCleaningDialog::setText(SlowCleaningControl control, const std::string& text) {
    if (dialog_) ::SetDlgItemTextW(dialog_, controlId(control), win32::toWide(text).c_str());
}

std::string Win32SlowCleaningDialog::text(SlowCleaningControl control) {
    HWND item = dialog_ ? ::GetDlgItem(dialog_, controlId(control)) : nullptr;
    if (!item) return {};
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    const int length = ::GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return win32::fromWide(buffer);
}

void Win32SlowCleaningDialog::setTooltip(SlowCleaningControl control, const std::string& text) {
    HWND item = dialog_ ? ::GetDlgItem(dialog_, controlId(control)) : nullptr;
    tips_.setText(item, text);
}

void Win32SlowCleaningDialog::enable(SlowCleaningControl control, bool enabled) {
    if (!dialog_) return;
    HWND item = ::GetDlgItem(dialog_, controlId(control));
    // The focus leaves a button before it is disabled, so that the keyboard
    // keeps working.
    if (!enabled && ::GetFocus() == item) ::SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void Win32SlowCleaningDialog::startTimer(unsigned intervalMs) {
    if (dialog_) ::SetTimer(dialog_, kStatusTimer, intervalMs, nullptr);
}

void Win32SlowCleaningDialog::stopTimer() {
    if (dialog_) ::KillTimer(dialog_, kStatusTimer);
}

void Win32SlowCleaningDialog::beep() { ::MessageBeep(MB_OK); }

} // namespace tidemark::monitor
