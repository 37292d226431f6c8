// The automation library's test target: a small program with the kinds of
// windows the suite shows (a status dialog with a tooltip, a menu, message
// boxes, a hidden tray owner with a pop-up menu). It writes what happened
// to a log file, one line per event, for the tests to check.
//
//   tm_automation_target.exe [--log <file>] [--exit-code <n>]
#include "AutomationTargetIds.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

using tidemark::win32::fromWide;
using tidemark::win32::toWide;

const wchar_t kTrayClass[] = L"TidemarkAutomationTray";
// Longer than the 80 characters TTM_ENUMTOOLS copies on Windows.
const wchar_t kLongTip[] =
    L"チェックすると、起動したときにこの状態表示ウィンドウを開きます。チェックを外すと、"
    L"通知領域のアイコンだけが表示され、ウィンドウはアイコンをクリックしたときに開きます。";
const wchar_t kAskedTip[] = L"空き容量の下限を入力します";

struct State {
    HINSTANCE instance = nullptr;
    HWND dialog = nullptr;
    HWND tray = nullptr;
    std::wstring logPath;
    int exitCode = 0;
};
State state;

// Appends and closes at once, so a test reading the file sees every line
// as soon as it is written, and a killed target loses nothing.
void logLine(const std::string& line) {
    if (state.logPath.empty()) return;
    HANDLE file = ::CreateFileW(state.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string answerName(int answer) {
    switch (answer) {
    case IDYES: return "yes";
    case IDNO: return "no";
    case IDOK: return "ok";
    case IDCANCEL: return "cancel";
    default: return std::to_string(answer);
    }
}

// One tooltip control with the three ways programs register tools: a
// control's handle with its text, a control's ID and rectangle with a long
// text, and a handle whose text is asked for when shown (TTN_GETDISPINFO).
void addTooltips(HWND dialog) {
    HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                     state.instance, nullptr);
    ::SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 400);

    TTTOOLINFOW byHandle{};
    byHandle.cbSize = sizeof(byHandle);
    byHandle.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    byHandle.hwnd = dialog;
    byHandle.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, IDC_TARGET_HIDE));
    byHandle.lpszText = const_cast<wchar_t*>(L"このフォームを隠します");
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&byHandle));

    TTTOOLINFOW byId{};
    byId.cbSize = sizeof(byId);
    byId.hwnd = dialog;
    byId.uId = IDC_TARGET_CHECK;
    ::GetWindowRect(::GetDlgItem(dialog, IDC_TARGET_CHECK), &byId.rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&byId.rect), 2);
    byId.lpszText = const_cast<wchar_t*>(kLongTip);
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&byId));

    TTTOOLINFOW asked{};
    asked.cbSize = sizeof(asked);
    asked.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    asked.hwnd = dialog;
    asked.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, IDC_TARGET_EDIT));
    asked.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&asked));
}

void showTrayMenu() {
    HMENU resource = ::LoadMenuW(state.instance, MAKEINTRESOURCEW(IDR_TRAY_MENU));
    if (resource == nullptr) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // The usual tray dance: be foreground so the menu closes when the user
    // clicks elsewhere, and post a null message afterwards.
    ::SetForegroundWindow(state.tray);
    logLine("tray-menu=open");
    ::TrackPopupMenu(::GetSubMenu(resource, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, state.tray, nullptr);
    ::PostMessageW(state.tray, WM_NULL, 0, 0);
    ::DestroyMenu(resource);
    logLine("tray-menu=closed");
}

void quit() {
    logLine("exit=" + std::to_string(state.exitCode));
    if (state.dialog != nullptr) ::DestroyWindow(state.dialog);
    state.dialog = nullptr;
    ::PostQuitMessage(state.exitCode);
}

LRESULT CALLBACK trayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TARGET_TRAY_CALLBACK:
        if (lParam == WM_LBUTTONUP) {
            logLine("tray=left");
            ::ShowWindow(state.dialog, SW_SHOW);
        } else if (lParam == WM_RBUTTONDOWN) {
            logLine("tray=right");
            showTrayMenu();
        }
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_TRAY_SHOW:
            logLine("menu=show");
            ::ShowWindow(state.dialog, SW_SHOW);
            return 0;
        case IDM_TRAY_GRAYED:
            logLine("menu=grayed");
            return 0;
        case IDM_TRAY_EXIT:
            logLine("menu=exit");
            quit();
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        addTooltips(dialog);
        return TRUE;
    case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (info->hdr.code == TTN_GETDISPINFOW) {
            info->lpszText = const_cast<wchar_t*>(kAskedTip);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TARGET_HIDE:
            logLine("hide");
            ::ShowWindow(dialog, SW_HIDE);
            return TRUE;
        case IDC_TARGET_ASK: {
            logLine("ask=open");
            const int answer = ::MessageBoxW(dialog, L"メモリを解放しますか？\r\n解放には数秒かかります。",
                                             L"Tidemark 確認", MB_YESNO | MB_ICONEXCLAMATION);
            logLine("ask=" + answerName(answer));
            return TRUE;
        }
        case IDC_TARGET_CHECK:
            if (HIWORD(wParam) == BN_CLICKED) {
                const bool checked = ::IsDlgButtonChecked(dialog, IDC_TARGET_CHECK) == BST_CHECKED;
                logLine(std::string("check=") + (checked ? "1" : "0"));
            }
            return TRUE;
        case IDC_TARGET_DISABLED:
            logLine("disabled-clicked");
            return TRUE;
        case IDC_TARGET_EDIT:
            if (HIWORD(wParam) == EN_CHANGE) {
                wchar_t text[256] = {};
                ::GetDlgItemTextW(dialog, IDC_TARGET_EDIT, text, 256);
                logLine("edit=" + fromWide(text));
            }
            return TRUE;
        case IDM_TARGET_ABOUT: {
            const int answer = ::MessageBoxW(dialog, L"Tidemark 自動操作テスト", L"情報", MB_OK);
            logLine("about=" + answerName(answer));
            return TRUE;
        }
        case IDM_TARGET_EXIT:
            logLine("menu=exit");
            quit();
            return TRUE;
        }
        break;
    case WM_CLOSE:
        logLine("close");
        quit();
        return TRUE;
    }
    return FALSE;
}

void readArguments() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr) return;
    for (int i = 1; i + 1 < count; ++i) {
        const std::wstring name = arguments[i];
        if (name == L"--log") {
            state.logPath = arguments[++i];
        } else if (name == L"--exit-code") {
            state.exitCode = std::atoi(fromWide(arguments[++i]).c_str());
        }
    }
    ::LocalFree(arguments);
}

} // namespace

// WinMain rather than wWinMain: the arguments come from GetCommandLineW.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    state.instance = instance;
    readArguments();

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    WNDCLASSEXW trayClass{};
    trayClass.cbSize = sizeof(trayClass);
    trayClass.lpfnWndProc = trayProc;
    trayClass.hInstance = instance;
    trayClass.lpszClassName = kTrayClass;
    ::RegisterClassExW(&trayClass);
    // Hidden and top-level, like a tray icon's owner window.
    state.tray = ::CreateWindowExW(0, kTrayClass, kTrayClass, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                   instance, nullptr);

    state.dialog = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_TARGET), nullptr, dialogProc, 0);
    if (state.dialog == nullptr || state.tray == nullptr) return 3;
    ::ShowWindow(state.dialog, SW_SHOW);
    logLine("started");

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (state.dialog != nullptr && ::IsWindow(state.dialog) && ::IsDialogMessageW(state.dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (state.tray != nullptr) ::DestroyWindow(state.tray);
    return static_cast<int>(message.wParam);
}
