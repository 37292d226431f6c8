// The settings window with the real Tidemark.exe: opened from the tray menu
// and from a status window's button, cleaner values stored and read back
// with the system's own profile call, start-up shortcuts made and removed in
// both Startup folders, and a Startup folder that refuses new files.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>

#include "TidemarkSession.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Win32Shortcuts.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

HWND waitForSettings(DWORD processId, DWORD timeoutMs = 10000) {
    automation::WindowCriteria criteria;
    criteria.caption = "Tidemark設定";
    criteria.processId = processId;
    criteria.visibleOnly = true;
    return automation::waitForWindow(criteria, timeoutMs);
}

int settingsWindowCount(DWORD processId) {
    int count = 0;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == processId && ::IsWindowVisible(w) && automation::controlText(w).value_or("") == "Tidemark設定")
            ++count;
    }
    return count;
}

std::string folderOf(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return win32::fromWideBuffer(path);
}

bool exists(const std::string& path) {
    return ::GetFileAttributesW(win32::toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// GetPrivateProfileStringW itself, not the suite's reader.
std::string systemProfileValue(const std::string& file, const std::string& section, const std::string& key) {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(win32::toWide(section).c_str(), win32::toWide(key).c_str(), L"", value, 256,
                               win32::toWide(file).c_str());
    return win32::fromWideBuffer(value);
}

HWND openThroughTheMenu(TidemarkSession& session, Process& tidemark) {
    HWND simple = session.simpleWindow(tidemark.id());
    if (!simple || !automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_SETTINGS, 0)) return nullptr;
    return waitForSettings(tidemark.id());
}

bool closeWindow(HWND window) {
    return automation::postMessage(window, WM_CLOSE, 0, 0) &&
           automation::pollUntil(5000, [&] { return !::IsWindow(window); });
}

TEST(SettingsWindow, OpenedOnceStoresDecidedValuesAndMakesAndRemovesShortcuts) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND settings = openThroughTheMenu(session, tidemark);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(automation::controlText(automation::findControl(settings, IDC_USER_STARTUP)), session.userName() + " に設定");
    EXPECT_EQ(automation::tooltipText(automation::findControl(settings, IDC_DECIDE_BUTTON)), "設定を決定します");
    // Again from the menu: the same window in front, not a second one.
    ASSERT_TRUE(automation::postMessage(session.simpleWindow(tidemark.id()), WM_COMMAND, IDM_TRAY_MENU_SETTINGS, 0));
    ::Sleep(1000);
    EXPECT_EQ(settingsWindowCount(tidemark.id()), 1);

    // Decided values, read back with the system's own profile call.
    ASSERT_TRUE(automation::setControlText(automation::findControl(settings, IDC_TRIGGER_BOX), "60"));
    ASSERT_TRUE(automation::setControlText(automation::findControl(settings, IDC_SIZE_BOX), "70"));
    ASSERT_TRUE(automation::clickButton(automation::findControl(settings, IDC_DECIDE_BUTTON)));
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "MemCleanSize", 10000, std::string("70")));
    EXPECT_EQ(systemProfileValue(session.sharedFile(), "AppSettingFlag", "MemCleanExeMemSize"), std::to_string(60LL * 1048576));
    EXPECT_EQ(systemProfileValue(session.sharedFile(), "AppSettingFlag", "MemCleanSize"), "70");

    // Start-up shortcuts in the common and the user's Startup folders.
    win32::Win32Shortcuts shortcuts;
    for (const auto& [id, csidl] : {std::pair{IDC_ALL_USERS_STARTUP, CSIDL_COMMON_STARTUP}, {IDC_USER_STARTUP, CSIDL_STARTUP}}) {
        const std::string link = folderOf(csidl) + "\\Tidemark.lnk";
        HWND box = automation::findControl(settings, id);
        ASSERT_TRUE(automation::clickButton(box));
        ASSERT_TRUE(automation::pollUntil(5000, [&] { return exists(link); })) << link;
        ::Sleep(300);
        const auto details = shortcuts.details(link);
        ASSERT_TRUE(details.has_value());
        EXPECT_EQ(details->target, session.folder() + "\\Tidemark.exe");
        EXPECT_EQ(details->arguments, "stup");
        EXPECT_EQ(details->description, "システムメモリーを監視します");
        ASSERT_TRUE(automation::clickButton(box));
        EXPECT_TRUE(automation::pollUntil(5000, [&] { return !exists(link); })) << link;
    }
    EXPECT_TRUE(session.waitForShared("StartupSetting", "AllUsers", 5000, std::string("False")));
    EXPECT_EQ(session.user("StartupSetting", session.sid()), "False");
    EXPECT_TRUE(automation::findMessageBoxes(tidemark.id()).empty());
    ASSERT_TRUE(closeWindow(settings));

    // From a status window's button.
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_TRUE(session.showByTrayClick(tidemark.id(), simple));
    ASSERT_TRUE(automation::clickButton(automation::findControl(simple, IDC_SETTINGS_BUTTON)));
    settings = waitForSettings(tidemark.id());
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(closeWindow(settings));
}

// Run by immutable-startup.sh, which makes the user's Startup folder admit
// no new file.
TEST(ImmutableStartup, AShortcutThatCannotBeMadeIsNoSetting) {
    const char* locked = std::getenv("TIDEMARK_IMMUTABLE_STARTUP");
    if (locked == nullptr || *locked == '\0') GTEST_SKIP() << "run through immutable-startup.sh";
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND settings = openThroughTheMenu(session, tidemark);
    ASSERT_NE(settings, nullptr);
    HWND box = automation::findControl(settings, IDC_USER_STARTUP);
    ASSERT_TRUE(automation::clickButton(box));
    const auto shown = automation::waitForMessageBox(tidemark.id(), 10000, "スタートアップのショートカットを作成できませんでした。");
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->caption, "スタートアップ設定");
    EXPECT_GT(shown->text.size(), std::string("スタートアップのショートカットを作成できませんでした。\r\n").size())
        << "the system's error text follows";
    EXPECT_TRUE(shown->hasIcon);
    EXPECT_FALSE(session.capture(shown->hwnd, "settings_window_startup_failure").empty());
    ASSERT_TRUE(automation::answerMessageBox(shown->hwnd, IDOK));
    EXPECT_EQ(automation::checkState(box), automation::CheckState::Unchecked);
    EXPECT_FALSE(session.user("StartupSetting", session.sid()).has_value());
    EXPECT_FALSE(exists(folderOf(CSIDL_STARTUP) + "\\Tidemark.lnk"));
    ASSERT_TRUE(closeWindow(settings));
}

} // namespace
} // namespace tidemark::e2e
