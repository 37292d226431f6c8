// Tidemark's windows at every scaling a user runs: 100, 125, 150, 175 and
// 200 % (96 to 192 DPI, set through the prefix's LogPixels before the
// program starts). Each window is captured as <window>_<dpi>.png; every
// control must lie inside its window's client area, every static text must
// fit its control (on one line, unless it is the one text meant to wrap),
// and the status windows must touch the work area's top-right corner.
#include <gtest/gtest.h>

#include "AdminWindowsDriver.h"
#include "LogPixels.h"
#include "TidemarkSession.h"
#include "monitor/windows/admin/win32/AdminLayout.h"
#include "monitor/windows/password/win32/PasswordLayout.h"
#include "monitor/windows/settings/win32/SettingsLayout.h"
#include "monitor/windows/about/win32/AboutLayout.h"
#include "monitor/windows/procwatch/win32/ProcessWatchLayout.h"
#include "monitor/windows/slowcleaning/win32/SlowCleaningLayout.h"
#include "monitor/windows/status/win32/StatusLayout.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/Win32Text.h"
#include "transfer/win32/StowelLayout.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

std::string classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return win32::fromWideBuffer(name);
}

RECT clientRectOf(HWND control, HWND dialog) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The controls of a dialog, and what is wrong with their places and texts.
std::vector<std::string> layoutFaults(HWND dialog, int dpi, const std::vector<int>& wrappingIds = {},
                                      const wchar_t* face = monitor::layout::kFontFace,
                                      int points = monitor::layout::kFontPoints) {
    std::vector<std::string> faults;
    RECT client{};
    ::GetClientRect(dialog, &client);
    win32::UniqueFont font(::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, face));
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    win32::SelectedObject selected(dc.get(), font.get());
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(c);
        const RECT r = clientRectOf(c, dialog);
        const std::string name = "control " + std::to_string(id);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            faults.push_back(name + " lies outside the client area");
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        const LONG kind = style & SS_TYPEMASK;
        if (classOf(c) != "Static" || kind == SS_ICON || kind == SS_OWNERDRAW || kind == SS_ETCHEDHORZ) continue;
        // A label without a size only names the control after it.
        if (r.right == r.left) continue;
        const std::string text = automation::controlText(c).value_or("");
        if (text.empty()) continue;
        const std::wstring wide = win32::toWide(text);
        const bool wraps = std::find(wrappingIds.begin(), wrappingIds.end(), id) != wrappingIds.end();
        RECT need{0, 0, r.right - r.left, 0};
        ::DrawTextW(dc.get(), wide.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        if (need.right > r.right - r.left || need.bottom > r.bottom - r.top)
            faults.push_back(name + " \"" + text + "\" needs " + std::to_string(need.right) + "x" +
                             std::to_string(need.bottom) + ", has " + std::to_string(r.right - r.left) + "x" +
                             std::to_string(r.bottom - r.top));
    }
    return faults;
}

// A window opened over another lies whole inside its monitor's work area:
// a caption past the screen's edge can no longer be taken to move it.
std::string offWorkAreaFault(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return "no monitor";
    const RECT& w = monitor.rcWork;
    if (r.left >= w.left && r.top >= w.top && r.right <= w.right && r.bottom <= w.bottom) return "";
    return "window at " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + " outside the work area";
}

// Buttons, check boxes, option buttons and frames whose caption does not fit
// on one line (a check mark or a frame's edge takes its part too).
std::vector<std::string> buttonFaults(HWND dialog, int dpi) {
    std::vector<std::string> faults;
    win32::UniqueFont font(::CreateFontW(-::MulDiv(monitor::layout::kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                                         FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, monitor::layout::kFontFace));
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    win32::SelectedObject selected(dc.get(), font.get());
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (classOf(c) != "Button") continue;
        const std::string text = automation::controlText(c).value_or("");
        if (text.empty()) continue;
        const LONG kind = ::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        const bool mark = kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON;
        const int extra = ::MulDiv(mark ? 20 : kind == BS_GROUPBOX ? 16 : 8, dpi, 96);
        const RECT r = clientRectOf(c, dialog);
        RECT need{0, 0, 0, 0};
        const std::wstring wide = win32::toWide(text);
        ::DrawTextW(dc.get(), wide.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        if (need.right + extra > r.right - r.left || need.bottom > r.bottom - r.top)
            faults.push_back("button " + std::to_string(::GetDlgCtrlID(c)) + " \"" + text + "\" needs " +
                             std::to_string(need.right + extra) + "x" + std::to_string(need.bottom) + ", has " +
                             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
    }
    return faults;
}

RECT workAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

bool waitVisible(HWND window) {
    return automation::pollUntil(5000, [&] { return ::IsWindowVisible(window) != FALSE; });
}

// A status window shown by a click on the icon, checked and captured.
void checkStatusWindow(TidemarkSession& session, Process& tidemark, HWND window, int dpi, const std::string& name) {
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(window));
    ::Sleep(1500);   // a tick fills the figures
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kStatusWidth, dpi, 1440)) << name;
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kStatusHeight, dpi, 1440)) << name;
    for (const std::string& fault : layoutFaults(window, dpi)) ADD_FAILURE() << name << ": " << fault;
    RECT at{};
    ::GetWindowRect(window, &at);
    const RECT work = workAreaOf(window);
    EXPECT_EQ(at.right, work.right) << name << " does not touch the right edge";
    EXPECT_EQ(at.top, work.top) << name << " does not touch the top";
    EXPECT_FALSE(session.capture(window, name).empty());
}

class Scaling : public ::testing::TestWithParam<int> {};

TEST_P(Scaling, NumericWindowAndAboutWindow) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    checkStatusWindow(session, tidemark, simple, dpi, "numbers_window_" + std::to_string(dpi));

    HWND about = session.openAboutWindow(tidemark.id());
    ASSERT_NE(about, nullptr);
    ::Sleep(500);   // painted
    const std::string name = "about_window_" + std::to_string(dpi);
    for (const std::string& fault : layoutFaults(about, dpi, {IDC_ABOUT_DESCRIPTION})) ADD_FAILURE() << name << ": " << fault;
    // Centred on its visible owner, kept inside the work area.
    RECT at{}, owner{};
    ::GetWindowRect(about, &at);
    ::GetWindowRect(simple, &owner);
    const RECT work = workAreaOf(about);
    EXPECT_GE(at.top, work.top);
    EXPECT_LE(at.right, work.right);
    EXPECT_NEAR((at.left + at.right) / 2, std::min((owner.left + owner.right) / 2, work.right - (at.right - at.left) / 2), 1);
    RECT icon = clientRectOf(automation::findControl(about, IDC_ABOUT_ICON), about);
    EXPECT_EQ(icon.right - icon.left, ::MulDiv(32, dpi, 96)) << "the icon at its size for the DPI";
    EXPECT_FALSE(session.capture(about, name).empty());
    ASSERT_TRUE(automation::clickButton(automation::findControl(about, IDOK)));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(about); }));
}

TEST_P(Scaling, GraphWindow) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    ASSERT_TRUE(session.writeUser("AppSetting", "FormStyle", "1"));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND graph = session.graphWindow(tidemark.id());
    checkStatusWindow(session, tidemark, graph, dpi, "graph_window_" + std::to_string(dpi));
    // The graph box is 3500 x 1000 twips at the window's DPI (each edge
    // rounded to its pixel), and its samples reach across it.
    const RECT box = clientRectOf(automation::findControl(graph, IDC_GRAPH), graph);
    EXPECT_NEAR(box.right - box.left, ::MulDiv(3500, dpi, 1440), 1);
    EXPECT_NEAR(box.bottom - box.top, ::MulDiv(1000, dpi, 1440), 1);
    // The newest bars stand at 229/233 of the width at every scaling: the
    // bottom row there has a bar's colour, not the black background.
    const auto image = automation::captureWindow(automation::findControl(graph, IDC_GRAPH));
    ASSERT_TRUE(image.has_value());
    const std::uint32_t x = image->width * 229 / 233 - 1, y = image->height - 1;
    const std::uint8_t* pixel = &image->rgb[(y * image->width + x) * 3];
    EXPECT_NE(pixel[0] + pixel[1] + pixel[2], 0) << "no bar at the box's right end";
}

// The administrator window (both pages) and the slow cleaning window it
// opens, as a user opens them.
TEST_P(Scaling, AdministratorAndSlowCleaningWindows) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    RECT client{};
    ::GetClientRect(admin, &client);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kAdminWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kAdminHeight, dpi, 1440));
    const std::string name = "admin_window_" + std::to_string(dpi);
    for (const std::string& fault : layoutFaults(admin, dpi, {IDC_SYSTEM_START_NOTE})) ADD_FAILURE() << name << ": " << fault;
    for (const std::string& fault : buttonFaults(admin, dpi)) ADD_FAILURE() << name << ": " << fault;
    // The pages' controls lie below the tabs' row.
    RECT tabs = clientRectOf(automation::findControl(admin, IDC_ADMIN_TABS), admin);
    RECT row{};
    ::SendMessageW(automation::findControl(admin, IDC_ADMIN_TABS), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    for (int id : {IDC_SYSTEM_START_FRAME, IDC_CLEANING_MODE_FRAME})
        EXPECT_GT(clientRectOf(automation::findControl(admin, id), admin).top, tabs.top + row.bottom) << name << " " << id;
    ::Sleep(500);   // painted
    EXPECT_FALSE(session.capture(admin, name + "_page0").empty());
    ASSERT_TRUE(showCleaningPage(admin));
    ::Sleep(500);
    EXPECT_FALSE(session.capture(admin, name + "_page1").empty());

    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SLOW_OPTION)));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::isEnabled(automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON)); }));
    HWND slow = openSlowWindow(admin, tidemark.id());
    ASSERT_NE(slow, nullptr);
    ::GetClientRect(slow, &client);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kSlowWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kSlowHeight, dpi, 1440));
    const std::string slowName = "slow_cleaning_window_" + std::to_string(dpi);
    for (const std::string& fault : layoutFaults(slow, dpi)) ADD_FAILURE() << slowName << ": " << fault;
    for (const std::string& fault : buttonFaults(slow, dpi)) ADD_FAILURE() << slowName << ": " << fault;
    EXPECT_EQ(offWorkAreaFault(slow), "") << slowName;
    ::Sleep(500);
    EXPECT_FALSE(session.capture(slow, slowName).empty());
    // Nothing stored yet: closing asks.
    ASSERT_TRUE(automation::postMessage(slow, WM_CLOSE, 0, 0));
    const auto question = automation::waitForMessageBox(tidemark.id(), 10000, "低速メモリー確保設定がされていません。");
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(automation::answerMessageBox(question->hwnd, IDYES));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(slow); }));
}

// A static text drawn in its own font (not the window's): does it fit?
std::string ownFontFault(HWND dialog, int id, int dpi, const wchar_t* face, int points, bool wraps) {
    win32::UniqueFont font(::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, face));
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    win32::SelectedObject selected(dc.get(), font.get());
    HWND control = automation::findControl(dialog, id);
    const RECT r = clientRectOf(control, dialog);
    const std::wstring text = win32::toWide(automation::controlText(control).value_or(""));
    RECT need{0, 0, r.right - r.left, 0};
    ::DrawTextW(dc.get(), text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    if (need.right <= r.right - r.left && need.bottom <= r.bottom - r.top) return {};
    return "control " + std::to_string(id) + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
           ", has " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The process watch window, opened from the administrator window.
TEST_P(Scaling, ProcessWatchWindow) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    // The window's button opens it while the watch is on.
    ASSERT_TRUE(::WritePrivateProfileStringW(L"AppSettingFlag", L"ProcWatchSetting", L"True",
                                             win32::toWide(session.sharedFile()).c_str()));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    HWND watch = openWatchWindow(admin, tidemark.id());
    ASSERT_NE(watch, nullptr);
    RECT client{};
    ::GetClientRect(watch, &client);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kWatchWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kWatchHeight, dpi, 1440));
    const std::string name = "process_watch_window_" + std::to_string(dpi);
    for (const std::string& fault : layoutFaults(watch, dpi, {IDC_WATCH_TITLE})) ADD_FAILURE() << name << ": " << fault;
    for (const std::string& fault : buttonFaults(watch, dpi)) ADD_FAILURE() << name << ": " << fault;
    EXPECT_EQ(offWorkAreaFault(watch), "") << name;
    EXPECT_EQ(ownFontFault(watch, IDC_WATCH_COVER, dpi, L"MS PGothic", monitor::layout::kWatchCoverPoints, false), "");
    EXPECT_EQ(ownFontFault(watch, IDC_WATCH_TITLE, dpi, monitor::layout::kFontFace, monitor::layout::kWatchTitlePoints, true), "");
    ::Sleep(500);   // painted
    EXPECT_FALSE(session.capture(watch, name).empty());
    ASSERT_TRUE(automation::postMessage(watch, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(watch); }));
}

// Stowel's window (frmSave), which Stowel shows at once.
TEST_P(Scaling, TransferWindow) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    Process stowel = automation::start(automation::currentProgramFolder() + "\\Stowel.exe");
    ASSERT_TRUE(stowel);
    automation::WindowCriteria criteria;
    criteria.caption = "Tidemark設定 保存・読込み";
    criteria.visibleOnly = true;
    HWND window = automation::waitForProgramWindow(stowel, criteria, 30000);
    ASSERT_NE(window, nullptr);
    ::Sleep(500);   // painted
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, ::MulDiv(transfer::layout::kSaveWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(transfer::layout::kSaveHeight, dpi, 1440));
    const std::string name = "stowel_window_" + std::to_string(dpi);
    for (const std::string& fault :
         layoutFaults(window, dpi, {IDC_LBLCOVER}, transfer::layout::kFontFace, transfer::layout::kFontPoints))
        ADD_FAILURE() << name << ": " << fault;
    const std::string bin = automation::currentProgramFolder();
    const std::string captures = bin.substr(0, bin.find_last_of('\\')) + "\\captures";
    ::CreateDirectoryW(win32::toWide(captures).c_str(), nullptr);
    EXPECT_TRUE(automation::captureWindowToPng(window, captures + "\\" + name + ".png"));
    ASSERT_TRUE(automation::postMessage(window, WM_CLOSE, 0, 0));
    EXPECT_TRUE(stowel.waitForExit(10000).has_value());
}

// The captions of a dialog's buttons, check boxes, option buttons and
// frames that do not fit their controls (a box's glyph and gap included).
std::vector<std::string> buttonTextFaults(HWND dialog, int dpi) {
    std::vector<std::string> faults;
    win32::UniqueFont font(::CreateFontW(-::MulDiv(monitor::layout::kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                                         FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, monitor::layout::kFontFace));
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    win32::SelectedObject selected(dc.get(), font.get());
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (classOf(c) != "Button") continue;
        const LONG kind = ::GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        const bool box = kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON;
        const int spare = box ? ::MulDiv(13 + 6, dpi, 96) : ::MulDiv(12, dpi, 96);
        const std::wstring text = win32::toWide(automation::controlText(c).value_or(""));
        RECT need{0, 0, 0, 0};
        ::DrawTextW(dc.get(), text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        const RECT r = clientRectOf(c, dialog);
        if (need.right + spare > r.right - r.left || need.bottom > r.bottom - r.top)
            faults.push_back("control " + std::to_string(::GetDlgCtrlID(c)) + " \"" + automation::controlText(c).value_or("") +
                             "\" needs " + std::to_string(need.right + spare) + " of " + std::to_string(r.right - r.left));
    }
    return faults;
}

// The settings window (FrmFix), opened from the tray menu, each of its four
// pages captured.
TEST_P(Scaling, SettingsWindow) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_TRUE(automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_SETTINGS, 0));
    automation::WindowCriteria criteria;
    criteria.caption = "Tidemark設定";
    criteria.processId = tidemark.id();
    criteria.visibleOnly = true;
    HWND window = automation::waitForWindow(criteria, 10000);
    ASSERT_NE(window, nullptr);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kSettingsWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kSettingsHeight, dpi, 1440));
    RECT at{};
    ::GetWindowRect(window, &at);
    const RECT work = workAreaOf(window);
    EXPECT_LE(at.right, work.right);
    EXPECT_GE(at.left, work.left);
    // A control of each page taking the focus brings its page forward.
    const std::pair<int, const char*> pages[] = {
        {IDC_TRIGGER_BOX, "cleaner"}, {IDC_ALL_USERS_STARTUP, "startup"}, {IDC_ALL_USERS_ICON, "icon"}, {IDC_GRAPH_OPTION, "screen"}};
    for (const auto& [id, page] : pages) {
        HWND control = automation::findControl(window, id);
        const WORD code = id == IDC_TRIGGER_BOX ? EN_SETFOCUS : BN_SETFOCUS;
        ASSERT_TRUE(automation::postMessage(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)));
        ASSERT_TRUE(automation::pollUntil(5000, [&] { return ::IsWindowVisible(control) != FALSE; })) << page;
        ::Sleep(300);   // painted
        const std::string name = std::string("settings_window_") + page + "_" + std::to_string(dpi);
        EXPECT_FALSE(session.capture(window, name).empty());
    }
    const std::string name = "settings_window_" + std::to_string(dpi);
    for (const std::string& fault : layoutFaults(window, dpi)) ADD_FAILURE() << name << ": " << fault;
    for (const std::string& fault : buttonTextFaults(window, dpi)) ADD_FAILURE() << name << ": " << fault;
    ASSERT_TRUE(automation::postMessage(window, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(window); }));
}

// The password dialog (frmPasIn), opened by the administrator window's
// system-start box, and its wait window (frmPsPrg) while the password test
// runs, with a stand-in Jobsmith and the test answered by the real Corvid.
TEST_P(Scaling, PasswordAndWaitWindows) {
    const int dpi = GetParam();
    LogPixels scaling(static_cast<DWORD>(dpi));
    TidemarkSession session;
    const std::string bin = automation::currentProgramFolder();
    for (const auto& [from, to] : {std::pair{"tm_jobsmith_standin.exe", "Jobsmith.exe"}, {"Corvid.exe", "Corvid.exe"}})
        ASSERT_TRUE(::CopyFileW(win32::toWide(bin + "\\" + from).c_str(),
                                win32::toWide(session.folder() + "\\" + to).c_str(), FALSE));
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", win32::toWide(session.folder() + "\\jobsmith.log").c_str());
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SYSTEM_START_BOX)));
    automation::WindowCriteria criteria;
    criteria.caption = "パスワード設定";
    criteria.processId = tidemark.id();
    criteria.visibleOnly = true;
    HWND dialog = automation::waitForWindow(criteria, 10000);
    ASSERT_NE(dialog, nullptr);
    const auto check = [&](HWND window, int width, int height, const std::string& name, std::vector<int> wrapping) {
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_EQ(client.right, ::MulDiv(width, dpi, 1440)) << name;
        EXPECT_EQ(client.bottom, ::MulDiv(height, dpi, 1440)) << name;
        for (const std::string& fault : layoutFaults(window, dpi, wrapping)) ADD_FAILURE() << name << ": " << fault;
        for (const std::string& fault : buttonFaults(window, dpi)) ADD_FAILURE() << name << ": " << fault;
        ::Sleep(500);   // painted
        EXPECT_FALSE(session.capture(window, name).empty());
    };
    check(dialog, monitor::layout::kPasswordWidth, monitor::layout::kPasswordHeight, "password_window_" + std::to_string(dpi), {});

    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX}) ASSERT_TRUE(automation::setControlText(automation::findControl(dialog, id), "pw"));
    // Enter in the first box moves on; Enter in the second starts the test.
    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX}) {
        automation::postMessage(automation::findControl(dialog, id), WM_KEYDOWN, VK_RETURN, 0);
        automation::postMessage(automation::findControl(dialog, id), WM_KEYUP, VK_RETURN, 0);
        ::Sleep(500);
    }
    HWND wait = nullptr;
    ASSERT_TRUE(automation::pollUntil(20000, [&] {
        for (HWND w : automation::findWindows(criteria))
            if (w != dialog && automation::findControl(w, IDC_WAIT_PROGRESS)) wait = w;
        return wait != nullptr;
    }));
    check(wait, monitor::layout::kPasswordWaitWidth, monitor::layout::kPasswordWaitHeight,
          "password_wait_window_" + std::to_string(dpi), {IDC_WAIT_TEXT});   // two lines
    // The scheduler's part: the test passes; no restart.
    Process corvid = automation::start(session.folder() + "\\Corvid.exe", "PassTest");
    ASSERT_TRUE(corvid.valid());
    const auto question = automation::waitForMessageBox(tidemark.id(), 30000, "今すぐ再起動しますか");
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(automation::answerMessageBox(question->hwnd, IDNO));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(corvid.waitForExit(10000).has_value());
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", nullptr);
}

// A window moved to a monitor of another DPI: the system sends
// WM_DPICHANGED with the new DPI and a suggested rectangle (placed here in
// the program's memory, as the system would pass it).
bool sendDpiChanged(HWND window, int dpi, const RECT& suggested) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    win32::UniqueKernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return false;
    void* remote = ::VirtualAllocEx(process.get(), nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    DWORD_PTR result = 0;
    const bool sent = ::WriteProcessMemory(process.get(), remote, &suggested, sizeof suggested, nullptr) &&
                      ::SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote),
                                            SMTO_ABORTIFHUNG, 5000, &result);
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return sent;
}

TEST(ScalingChange, AWindowMovedToAMonitorOf192DpiIsLaidOutAgain) {
    LogPixels scaling(96);
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(simple));
    ASSERT_TRUE(sendDpiChanged(simple, 192, RECT{100, 50, 760, 357}));
    RECT at{}, client{};
    ::GetWindowRect(simple, &at);
    ::GetClientRect(simple, &client);
    EXPECT_EQ(at.left, 100);
    EXPECT_EQ(at.top, 50);
    EXPECT_EQ(client.right, ::MulDiv(monitor::layout::kStatusWidth, 192, 1440));
    EXPECT_EQ(client.bottom, ::MulDiv(monitor::layout::kStatusHeight, 192, 1440));
    for (const std::string& fault : layoutFaults(simple, 192)) ADD_FAILURE() << fault;
    EXPECT_FALSE(session.capture(simple, "numbers_window_96_moved_to_192").empty());
}

INSTANTIATE_TEST_SUITE_P(EveryScaling, Scaling, ::testing::Values(96, 120, 144, 168, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); });

} // namespace
} // namespace tidemark::e2e
