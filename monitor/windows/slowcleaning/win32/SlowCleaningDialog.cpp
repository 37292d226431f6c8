#include "monitor/windows/slowcleaning/win32/SlowCleaningDialog.h"

#include "monitor/windows/slowcleaning/win32/SlowCleaningLayout.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kStatusTimer = 1;

int controlId(SlowCleaningControl control) {
    switch (control) {
    case SlowCleaningControl::settingsFrame: return IDC_SLOW_SETTINGS_FRAME;
    case SlowCleaningControl::pauseBox: return IDC_PAUSE_BOX;
    case SlowCleaningControl::pauseLabel: return IDC_PAUSE_LABEL;
    case SlowCleaningControl::stepBox: return IDC_STEP_BOX;
    case SlowCleaningControl::stepLabel: return IDC_STEP_LABEL;
    case SlowCleaningControl::defaultsButton: return IDC_DEFAULTS_BUTTON;
    case SlowCleaningControl::applyButton: return IDC_SLOW_APPLY_BUTTON;
    case SlowCleaningControl::statusFrame: return IDC_SLOW_STATUS_FRAME;
    case SlowCleaningControl::statusLabel: return IDC_SLOW_STATUS;
    case SlowCleaningControl::stopButton: return IDC_STOP_BUTTON;
    }
    return 0;
}

} // namespace

Win32SlowCleaningDialog::Win32SlowCleaningDialog(HINSTANCE instance)
    : frame_(instance, {layout::kSlowWidth, layout::kSlowHeight, layout::kSlow}, {true, true}) {}

void Win32SlowCleaningDialog::runModal() { frame_.runModal(IDD_SLOWCLEANING, owner_, *this); }

INT_PTR Win32SlowCleaningDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        frame_.initialise(owner_);   // centred on the administrator window
        frame_.filterTypedCharacters({IDC_PAUSE_BOX, IDC_STEP_BOX}, DialogFrame::Typed::printable,
                                     [this](int, std::uint32_t code) { return !presenter_ || presenter_->onCharTyped(code); });
        if (presenter_) presenter_->load();
        return TRUE;
    case WM_TIMER:
        if (presenter_ && wParam == kStatusTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND:
        if (!presenter_ || HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_DEFAULTS_BUTTON: presenter_->onDefaultsClicked(); break;
        case IDC_SLOW_APPLY_BUTTON: presenter_->onApplyClicked(); break;
        case IDC_STOP_BUTTON: presenter_->onStopClicked(); break;
        case IDCANCEL: presenter_->onCloseRequested(); break;
        default: return FALSE;
        }
        return TRUE;
    case WM_CLOSE:
        if (presenter_) presenter_->onCloseRequested();
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32SlowCleaningDialog::close() { frame_.endModal(IDOK); }

void Win32SlowCleaningDialog::setText(SlowCleaningControl control, const std::string& text) {
    frame_.setText(controlId(control), text);
}

std::string Win32SlowCleaningDialog::text(SlowCleaningControl control) { return frame_.text(controlId(control)); }

void Win32SlowCleaningDialog::setTooltip(SlowCleaningControl control, const std::string& text) {
    frame_.setTooltip(controlId(control), text);
}

void Win32SlowCleaningDialog::enable(SlowCleaningControl control, bool enabled) {
    frame_.enable(controlId(control), enabled);
}

void Win32SlowCleaningDialog::startTimer(unsigned intervalMs) { frame_.startTimer(kStatusTimer, intervalMs); }

void Win32SlowCleaningDialog::stopTimer() { frame_.stopTimer(kStatusTimer); }

void Win32SlowCleaningDialog::beep() { ::MessageBeep(MB_OK); }

} // namespace tidemark::monitor
