// Message-box backend: MessageBoxW with the request's buttons and icon.
#include "platform/win32/Win32MessageBoxes.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

UINT buttonFlags(platform::MessageButtons buttons) {
    switch (buttons) {
    case platform::MessageButtons::Ok: return MB_OK;
    case platform::MessageButtons::OkCancel: return MB_OKCANCEL;
    case platform::MessageButtons::YesNo: return MB_YESNO;
    case platform::MessageButtons::YesNoCancel: return MB_YESNOCANCEL;
    case platform::MessageButtons::RetryCancel: return MB_RETRYCANCEL;
    }
    return MB_OK;
}

UINT iconFlags(platform::MessageIcon icon) {
    switch (icon) {
    case platform::MessageIcon::None: return 0;
    case platform::MessageIcon::Error: return MB_ICONERROR;
    case platform::MessageIcon::Question: return MB_ICONQUESTION;
    case platform::MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
    case platform::MessageIcon::Information: return MB_ICONINFORMATION;
    }
    return 0;
}

UINT defaultButtonFlag(int button) {
    switch (button) {
    case 2: return MB_DEFBUTTON2;
    case 3: return MB_DEFBUTTON3;
    default: return MB_DEFBUTTON1;
    }
}

} // namespace

platform::MessageAnswer Win32MessageBoxes::show(const platform::MessageRequest& request) {
    const std::wstring text = toWide(request.text);
    const std::wstring title = toWide(request.title);
    // Boxes raised by timers have no click behind them that made the program
    // the foreground one: each box asks to come to the front itself.
    const int answer = ::MessageBoxW(reinterpret_cast<HWND>(request.owner), text.c_str(),
                                     title.empty() ? nullptr : title.c_str(),
                                     buttonFlags(request.buttons) | iconFlags(request.icon) |
                                         defaultButtonFlag(request.defaultButton) | MB_SETFOREGROUND);
    switch (answer) {
    case IDOK: return platform::MessageAnswer::Ok;
    case IDRETRY: return platform::MessageAnswer::Retry;
    case IDYES: return platform::MessageAnswer::Yes;
    case IDNO: return platform::MessageAnswer::No;
    default:
        // IDCANCEL, or 0 when no box could be shown: nothing was confirmed.
        return platform::MessageAnswer::Cancel;
    }
}

} // namespace tidemark::win32
