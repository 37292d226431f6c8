// The main program's windows: dialogs, timers, tray icon, menu, graph.
#include "monitor/windows/win32/TidemarkApp.h"

#include <commctrl.h>

#include <algorithm>

#include "monitor/core/NumberText.h"
#include "monitor/windows/AboutWindow.h"
#include "monitor/windows/TrayMenu.h"
#include "monitor/windows/WindowPlacement.h"
#include "monitor/windows/win32/TrayMessages.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Win32Text.h"
#include "shared/accounts/GetsProc.h"

namespace tidemark::monitor {
namespace {

using win32::toWide;

constexpr UINT_PTR kSimpleTimer1 = 1;   // every minute
constexpr UINT_PTR kSimpleTimer2 = 2;   // every second
constexpr UINT_PTR kGraphTimer1 = 3;    // every second
constexpr int kClientWidthTwips = 4905;
constexpr int kClientHeightTwips = 2025;

int controlId(StatusControl control) {
    switch (control) {
    case StatusControl::Label1_1: return IDC_LABEL1_1;
    case StatusControl::Label2_1: return IDC_LABEL2_1;
    case StatusControl::Label3_1: return IDC_LABEL3_1;
    case StatusControl::Label4_0: return IDC_LABEL4_0;
    case StatusControl::Label4_1: return IDC_LABEL4_1;
    case StatusControl::Frame1: return IDC_FRAME1;
    case StatusControl::PictGraph: return IDC_PICTGRAPH;
    case StatusControl::lblUseMem: return IDC_LBLUSEMEM;
    }
    return 0;
}

int iconResource(TrayImage image) {
    switch (image) {
    case TrayImage::Frm_00_Blue: return IDI_FRM_00_BLUE;
    case TrayImage::Frm_01_Yellow: return IDI_FRM_01_YELLOW;
    case TrayImage::Frm_02_Yellow: return IDI_FRM_02_YELLOW;
    case TrayImage::Frm_03_Red: return IDI_FRM_03_RED;
    case TrayImage::Frm_04_Red: return IDI_FRM_04_RED;
    default: return IDI_TIDEMARK;
    }
}

UINT_PTR menuCommandId(TrayCommand command) {
    switch (command) {
    case TrayCommand::Cancel: return IDM_UNDERFILE_CANCEL;
    case TrayCommand::Close: return IDM_UNDERFILE_CLOSE;
    case TrayCommand::Hide: return IDM_UNDERFILE_HIDE;
    case TrayCommand::Show: return IDM_UNDERFILE_SHOW;
    case TrayCommand::Fix: return IDM_UNDERFILE_FIX;
    case TrayCommand::AdmFix: return IDM_UNDERFILE_ADMFIX;
    case TrayCommand::Ver: return IDM_UNDERFILE_VER;
    }
    return IDM_UNDERFILE_CANCEL;
}

HICON loadSmallIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                           ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

// Tooltips for the controls of a dialog; texts are set later.
HWND createTooltips(HINSTANCE instance, HWND dialog, std::initializer_list<int> controls) {
    HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance,
                                  nullptr);
    if (!tips) return nullptr;
    ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 480);
    for (int id : controls) {
        HWND control = ::GetDlgItem(dialog, id);
        if (!control) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tips;
}

void setTipText(HWND tips, HWND dialog, int id, const std::wstring& text) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!tips || !control) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ownVersion(int& major, int& minor, int& revision) {
    major = minor = revision = 0;
    wchar_t path[MAX_PATH * 2];
    if (!::GetModuleFileNameW(nullptr, path, MAX_PATH * 2)) return;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return;
    std::string data(size, '\0');
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) return;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return;
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    revision = HIWORD(info->dwFileVersionLS);
}

} // namespace

TidemarkApp::TidemarkApp(HINSTANCE instance) : instance_(instance), context_{system_.platform(), state_, *this} {
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    programIcon_ = loadSmallIcon(instance_, IDI_TIDEMARK);
}

TidemarkApp::~TidemarkApp() {
    ResetTrayIcons();
    if (programIcon_) ::DestroyIcon(programIcon_);
    if (graphBitmap_) ::DeleteObject(graphBitmap_);
    if (simple_) ::DestroyWindow(simple_);
    if (graphWindow_) ::DestroyWindow(graphWindow_);
}

int TidemarkApp::run() {
    if (SubMain::Main(context_) == SubMain::StartOutcome::Ended) {
        destroyStatusWindows();
        return 0;
    }
    running_ = true;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (simple_ && ::IsDialogMessageW(simple_, &msg)) continue;
        if (graphWindow_ && ::IsDialogMessageW(graphWindow_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

// --- windows -----------------------------------------------------------

INT_PTR CALLBACK TidemarkApp::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TidemarkApp*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    try {
        return self->onMessage(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;   // nothing may leave a window procedure
    }
}

int TidemarkApp::dpiOf(HWND window) const {
    HDC dc = ::GetDC(window);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

void TidemarkApp::sizeClientArea(HWND dialog) {
    const int dpi = dpiOf(dialog);
    RECT r{0, 0, ::MulDiv(kClientWidthTwips, dpi, 1440), ::MulDiv(kClientHeightTwips, dpi, 1440)};
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    ::SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND box = ::GetDlgItem(dialog, IDC_PICTGRAPH)) {
        graphSize_ = {::MulDiv(GraphModel::kWidth, dpi, 1440), ::MulDiv(GraphModel::kHeight, dpi, 1440)};
        ::SetWindowPos(box, nullptr, 0, 0, graphSize_.cx, graphSize_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

INT_PTR TidemarkApp::onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        sizeClientArea(dialog);
        return TRUE;
    }
    if (message == taskbarCreated_ && dialog == simple_) {
        // Explorer restarted: the shell forgot every icon. (Deleting first
        // keeps a broadcast sent without a restart from failing the add.)
        state_.lngTrayWnd = reinterpret_cast<platform::NativeWindow>(::FindWindowW(L"Shell_TrayWnd", nullptr));
        delTaskTrayIcon();
        state_.bolTrayIconFlag = addTaskTrayIcon();
        return TRUE;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == kSimpleTimer1) minuteGuard_.run([&] { SubMain::SimpleTimer1Tick(context_); });
        else if (wParam == kSimpleTimer2) secondGuard_.run([&] { SubMain::SimpleTimer2Tick(context_); });
        else if (wParam == kGraphTimer1) graphGuard_.run([&] { onGraphTimer(); });
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        onCommand(IDC_CMDHIDE);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == IDC_PICTGRAPH) {
            drawGraphItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        sizeClientArea(dialog);
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam && dialog == graphWindow_) paintGraphBitmap();
        return FALSE;
    default:
        if (message == kTrayCallbackMessage && dialog == simple_) {
            onTrayCallback(lParam);
            return TRUE;
        }
        return FALSE;
    }
}

void TidemarkApp::onCommand(int id) {
    switch (id) {
    case IDC_CMDHIDE:
    case IDM_UNDERFILE_HIDE:
    case IDM_UNDERFILE_SHOW:
        if (state_.intFormStyle == 0) ToggleSimpleWindow();
        else ToggleGraphWindow();
        break;
    case IDM_UNDERFILE_CLOSE:
        exitProgram();
        break;
    case IDM_UNDERFILE_VER:
        showAbout();
        break;
    case IDC_CMDFIX:
    case IDM_UNDERFILE_FIX:
    case IDM_UNDERFILE_ADMFIX:
        // The settings windows come with their own module.
        break;
    default:
        break;   // "キャンセル (&C)" and anything else: nothing
    }
}

void TidemarkApp::exitProgram() {
    SubMain::Exit(context_);
}

void TidemarkApp::createStatusWindows() {
    if (simple_) return;
    graphWindow_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_GRAPH), nullptr, dialogProc,
                                        reinterpret_cast<LPARAM>(this));
    simple_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_SIMPLE), nullptr, dialogProc,
                                   reinterpret_cast<LPARAM>(this));
    // The monitor starts only once there is a taskbar to show its icon in.
    HWND tray = nullptr;
    while (!(tray = ::FindWindowW(L"Shell_TrayWnd", nullptr))) ::Sleep(1);
    state_.lngTrayWnd = reinterpret_cast<platform::NativeWindow>(tray);
    state_.lngMainWnd = reinterpret_cast<platform::NativeWindow>(simple_);
    if (simple_) {
        ::SendMessageW(simple_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon_));
        simpleTips_ = createTooltips(instance_, simple_,
                                     {IDC_LABEL4_0, IDC_LABEL4_1, IDC_FRAME1, IDC_CMDFIX, IDC_CMDHIDE});
        setTipText(simpleTips_, simple_, IDC_CMDFIX, L"Tidemarkの設定を行います");
        setTipText(simpleTips_, simple_, IDC_CMDHIDE, L"このフォームを隠します");
    }
    if (graphWindow_) {
        ::SendMessageW(graphWindow_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon_));
        graphTips_ = createTooltips(instance_, graphWindow_,
                                    {IDC_PICTGRAPH, IDC_LBLUSEMEM, IDC_LABEL4_0, IDC_LABEL4_1, IDC_CMDFIX, IDC_CMDHIDE});
        setTipText(graphTips_, graphWindow_, IDC_LBLUSEMEM, L"現在使用中のメモリーサイズを表示しています");
        setTipText(graphTips_, graphWindow_, IDC_CMDFIX, L"Tidemarkの設定を行います");
        setTipText(graphTips_, graphWindow_, IDC_CMDHIDE, L"このフォームを隠します");
        renderGraph(0);
    }
}

void TidemarkApp::startTimers() {
    if (graphWindow_) ::SetTimer(graphWindow_, kGraphTimer1, 1000, nullptr);
    if (simple_) {
        ::SetTimer(simple_, kSimpleTimer1, 60000, nullptr);
        ::SetTimer(simple_, kSimpleTimer2, 1000, nullptr);
    }
}

void TidemarkApp::stopMainTimers() {
    if (!simple_) return;
    ::KillTimer(simple_, kSimpleTimer1);
    ::KillTimer(simple_, kSimpleTimer2);
}

void TidemarkApp::destroyStatusWindows() {
    shownTexts_.clear();
    shownTooltips_.clear();
    if (graphWindow_) {
        ::KillTimer(graphWindow_, kGraphTimer1);
        ::DestroyWindow(graphWindow_);
        graphWindow_ = nullptr;
    }
    if (simple_) {
        stopMainTimers();
        ::DestroyWindow(simple_);
        simple_ = nullptr;
    }
    if (running_) ::PostQuitMessage(0);
}

HWND TidemarkApp::windowOf(StatusWindow window) const {
    return window == StatusWindow::Simple ? simple_ : graphWindow_;
}

HWND TidemarkApp::tooltipsOf(HWND dialog) const { return dialog == simple_ ? simpleTips_ : graphTips_; }

// Texts are set every second with mostly the same words; only a change
// reaches the window.
void TidemarkApp::setText(StatusWindow window, StatusControl control, const std::string& text) {
    HWND dialog = windowOf(window);
    if (!dialog) return;
    std::string& shown = shownTexts_[{window, control}];
    if (shown == text && !shown.empty()) return;
    shown = text;
    ::SetDlgItemTextW(dialog, controlId(control), toWide(text).c_str());
}

void TidemarkApp::setTooltip(StatusWindow window, StatusControl control, const std::string& text) {
    HWND dialog = windowOf(window);
    if (!dialog) return;
    std::string& shown = shownTooltips_[{window, control}];
    if (shown == text && !shown.empty()) return;
    shown = text;
    setTipText(tooltipsOf(dialog), dialog, controlId(control), toWide(text));
}

bool TidemarkApp::isVisible(StatusWindow window) {
    HWND dialog = windowOf(window);
    return dialog && ::IsWindowVisible(dialog);
}

void TidemarkApp::hide(StatusWindow window) {
    if (HWND dialog = windowOf(window)) ::ShowWindow(dialog, SW_HIDE);
}

void TidemarkApp::placeAtTopRight(HWND window) {
    long right = 0, top = 0;
    GetsProc(system_.platform(), state_).GetMonitorSizeTopRight(right, top);
    const int dpi = dpiOf(window);
    const int twipsPerPixel = 1440 / dpi > 0 ? 1440 / dpi : 1;
    const TwipsPoint at = statusWindowPosition(right, top, twipsPerPixel, twipsPerPixel);
    ::SetWindowPos(window, nullptr, ::MulDiv(at.left, dpi, 1440), ::MulDiv(at.top, dpi, 1440), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TidemarkApp::toggle(HWND window, bool graphWindow) {
    if (!window) return;
    placeAtTopRight(window);
    if (!state_.bolAboutClosed && aboutDialog_) {
        ::SetForegroundWindow(aboutDialog_);
        ::SetFocus(::GetDlgItem(aboutDialog_, IDOK));
        return;
    }
    if (graphWindow && !state_.bolPasInClosed) return;   // the password window keeps the focus
    if (::IsWindowVisible(window)) {
        ::ShowWindow(window, SW_HIDE);
        hideItemVisible_ = false;
        showItemVisible_ = true;
    } else {
        ::ShowWindow(window, SW_SHOW);
        ::SetForegroundWindow(window);
        ::SetFocus(window);
        showItemVisible_ = false;
        hideItemVisible_ = true;
    }
}

void TidemarkApp::ToggleSimpleWindow() { toggle(simple_, false); }
void TidemarkApp::ToggleGraphWindow() { toggle(graphWindow_, true); }

void TidemarkApp::disableAdministratorMenu() { adminItemEnabled_ = false; }

void TidemarkApp::closeSettingsWindow() {}
void TidemarkApp::bringSettingsWindowToFront() {}
void TidemarkApp::showSettingsWindowModal() {}

void TidemarkApp::beep() { ::MessageBeep(MB_OK); }

// --- tray icon ---------------------------------------------------------

HICON TidemarkApp::iconFor(TrayImage image) {
    if (image == TrayImage::Program || image == TrayImage::None) return programIcon_;
    auto it = statusIcons_.find(image);
    if (it == statusIcons_.end()) it = statusIcons_.emplace(image, loadSmallIcon(instance_, iconResource(image))).first;
    return it->second;
}

bool TidemarkApp::notify(DWORD action, bool withTip) {
    if (!simple_) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = simple_;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = action == NIM_DELETE ? 0 : kTrayCallbackMessage;
    data.hIcon = iconFor(lngIconHandle_);
    if (withTip) {
        const std::wstring tip = toWide(trayTipText(state_.intMemoryLoad));
        const std::size_t room = sizeof data.szTip / sizeof data.szTip[0] - 1;
        tip.copy(data.szTip, std::min(room, tip.size()));
    }
    return ::Shell_NotifyIconW(action, &data) != FALSE;
}

bool TidemarkApp::addTaskTrayIcon() {
    lngIconHandle_ = SelectTrayIcon(state_.intMemoryLoad, state_.curAvailPhys,
                                    state_.bolAllUsersIcon || state_.bolUserIcon,
                                    system_.platform().clock.localTime().minute);
    return notify(NIM_ADD, true);
}

void TidemarkApp::delTaskTrayIcon() { notify(NIM_DELETE, false); }

void TidemarkApp::ResetTrayIcons() {
    for (auto& [image, icon] : statusIcons_)
        if (icon) ::DestroyIcon(icon);
    statusIcons_.clear();
}

void TidemarkApp::refreshTrayImage() {
    lngIconHandle_ = SelectTrayIcon(state_.intMemoryLoad, state_.curAvailPhys,
                                    state_.bolAllUsersIcon || state_.bolUserIcon,
                                    system_.platform().clock.localTime().minute);
    if (lngIconHandle_ != lngLastIconHandle_) {
        notify(NIM_MODIFY, true);
        lngLastIconHandle_ = lngIconHandle_;
    }
}

void TidemarkApp::CheckTrayRestart() {
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (tray && reinterpret_cast<platform::NativeWindow>(tray) != state_.lngTrayWnd) {
        delTaskTrayIcon();
        state_.bolTrayIconFlag = addTaskTrayIcon();
        state_.lngTrayWnd = reinterpret_cast<platform::NativeWindow>(tray);
    }
}

void TidemarkApp::onTrayCallback(LPARAM mouseMessage) {
    notify(NIM_MODIFY, true);
    if (mouseMessage == WM_LBUTTONUP) {
        if (state_.bolAdmBusy) beep();
        else if (state_.intFormStyle == 0) ToggleSimpleWindow();
        else ToggleGraphWindow();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        if (state_.bolAdmBusy) beep();
        else showTrayMenu();
    }
}

void TidemarkApp::showTrayMenu() {
    if (!state_.bolAboutClosed && aboutDialog_) {
        ::SetForegroundWindow(aboutDialog_);
        ::SetFocus(::GetDlgItem(aboutDialog_, IDOK));
        return;
    }
    if (!state_.bolPasInClosed) return;
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    for (const TrayMenuItem& item : trayMenuItems(hideItemVisible_, showItemVisible_, adminItemEnabled_)) {
        if (item.separator) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(menu, MF_STRING | (item.enabled ? 0u : MF_GRAYED), menuCommandId(item.command),
                          toWide(item.text).c_str());
        }
    }
    POINT at{};
    ::GetCursorPos(&at);
    ::SetForegroundWindow(simple_);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, simple_, nullptr);
    ::PostMessageW(simple_, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

// --- graph ---------------------------------------------------------------

void TidemarkApp::onGraphTimer() {
    const MonitorState& s = state_;
    const std::int32_t free = freePerMille(s.curAvailPhys, s.curTotalPhys);
    const std::uint64_t used = s.curTotalPhys >= s.curAvailPhys ? s.curTotalPhys - s.curAvailPhys : 0;
    setText(StatusWindow::Graph, StatusControl::lblUseMem, groupedDigitsOrEmpty(used / 1024) + " KB 使用");
    renderGraph(graph_.PushGraphSample(free, s.curAvailPhysKB));
}

void TidemarkApp::renderGraph(int gridColour) {
    if (!graphWindow_ || graphSize_.cx <= 0) return;
    const int dpi = dpiOf(graphWindow_);
    const int twipsPerPixel = 1440 / dpi > 0 ? 1440 / dpi : 1;
    graphLines_ = graph_.DrawGraph(gridColour, twipsPerPixel);
    // Drawn only while someone can see it; showing the window draws the
    // last frame.
    if (::IsWindowVisible(graphWindow_)) paintGraphBitmap();
}

void TidemarkApp::paintGraphBitmap() {
    HDC screen = ::GetDC(graphWindow_);
    if (!graphBitmap_) graphBitmap_ = ::CreateCompatibleBitmap(screen, graphSize_.cx, graphSize_.cy);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(graphWindow_, screen);
    if (!dc || !graphBitmap_) {
        if (dc) ::DeleteDC(dc);
        return;
    }
    HGDIOBJ old = ::SelectObject(dc, graphBitmap_);
    RECT all{0, 0, graphSize_.cx, graphSize_.cy};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const int dpi = dpiOf(graphWindow_);
    std::map<int, HPEN> pens;
    for (const GraphLine& line : graphLines_) {
        HPEN& pen = pens[line.colour];
        if (!pen) {
            const std::uint32_t c = palette::rgb(line.colour);
            pen = ::CreatePen(PS_SOLID, 1, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
        }
        ::SelectObject(dc, pen);
        ::MoveToEx(dc, ::MulDiv(line.x1, dpi, 1440), ::MulDiv(line.y1, dpi, 1440), nullptr);
        ::LineTo(dc, ::MulDiv(line.x2, dpi, 1440), ::MulDiv(line.y2, dpi, 1440));
    }
    ::SelectObject(dc, old);
    for (auto& [colour, pen] : pens) ::DeleteObject(pen);
    ::DeleteDC(dc);
    if (HWND box = ::GetDlgItem(graphWindow_, IDC_PICTGRAPH)) ::InvalidateRect(box, nullptr, FALSE);
}

void TidemarkApp::drawGraphItem(const DRAWITEMSTRUCT& item) {
    if (!graphBitmap_) return;
    HDC dc = ::CreateCompatibleDC(item.hDC);
    HGDIOBJ old = ::SelectObject(dc, graphBitmap_);
    ::BitBlt(item.hDC, 0, 0, graphSize_.cx, graphSize_.cy, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

// --- About window --------------------------------------------------------

INT_PTR CALLBACK TidemarkApp::aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TidemarkApp*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    try {
        switch (message) {
        case WM_INITDIALOG: {
            self->aboutDialog_ = dialog;
            const std::string& title = self->state_.programTitle;
            ::SetWindowTextW(dialog, toWide(AboutWindow::caption(title)).c_str());
            int major = 0, minor = 0, revision = 0;
            ownVersion(major, minor, revision);
            ::SetDlgItemTextW(dialog, IDC_LBLVERSION, toWide(AboutWindow::versionText(major, minor, revision)).c_str());
            ::SetDlgItemTextW(dialog, IDC_LBLTITLE, toWide(title).c_str());
            if (!self->state_.bolSysInfoFlag) ::EnableWindow(::GetDlgItem(dialog, IDC_CMDSYSINFO), FALSE);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_CMDSYSINFO) {
                if (!AboutWindow::StartSysInfo(self->context_, reinterpret_cast<platform::NativeWindow>(dialog)))
                    ::EnableWindow(::GetDlgItem(dialog, IDC_CMDSYSINFO), FALSE);
            }
            return TRUE;
        case WM_CLOSE:
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

void TidemarkApp::showAbout() {
    state_.bolAboutClosed = false;
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUT), simple_, aboutProc, reinterpret_cast<LPARAM>(this));
    aboutDialog_ = nullptr;
    state_.bolAboutClosed = true;
}

} // namespace tidemark::monitor
