// Tidemark's windows driven as a person would: the tray icon's clicks, the
// numeric and graph windows, the tray menu and the About window. Every
// window is captured to PNG under the build folder.
#include <gtest/gtest.h>

#include <regex>

#include "TidemarkSession.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

// Whether the shell holds an icon of this window: a modification that
// changes nothing succeeds only for an icon the shell knows.
bool shellHasIcon(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 0;
    data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::string textOf(HWND window, int id) {
    return automation::controlText(automation::findControl(window, id)).value_or("(none)");
}

bool waitVisible(HWND window, bool visible) {
    return automation::pollUntil(5000, [&] { return (::IsWindowVisible(window) != FALSE) == visible; });
}

TEST(TidemarkWindows, IconIsRegisteredComesBackAfterAShellRestartAndGoesAtExit) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return shellHasIcon(simple); })) << "no tray icon";
    // A restarted shell has forgotten the icon and broadcasts that it is back.
    NOTIFYICONDATAW forget{};
    forget.cbSize = sizeof forget;
    forget.hWnd = simple;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &forget));
    ASSERT_FALSE(shellHasIcon(simple));
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_TRUE(automation::postMessage(simple, taskbarCreated));
    ::Sleep(1000);
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return shellHasIcon(simple); }));
    ASSERT_TRUE(automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_CLOSE, 0));
    ASSERT_TRUE(tidemark.waitForExit(15000).has_value());
    EXPECT_FALSE(shellHasIcon(simple));
}

TEST(TidemarkWindows, TrayClickShowsAndHidesTheNumericWindowWithLiveFigures) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);

    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(simple, true));
    ::Sleep(1500);   // a second tick fills the figures
    EXPECT_TRUE(std::regex_match(textOf(simple, IDC_MEMORY_LOAD), std::regex("[0-9]{1,3} %")));
    EXPECT_TRUE(std::regex_match(textOf(simple, IDC_TOTAL_MEMORY), std::regex("[0-9]{1,3}(,[0-9]{3})* KB")));
    EXPECT_TRUE(std::regex_match(textOf(simple, IDC_FREE_MEMORY), std::regex("[0-9]{1,3}(,[0-9]{3})* KB")));
    EXPECT_EQ(textOf(simple, IDC_MEMORY_LOAD_CAPTION), "メモリ使用率");
    EXPECT_EQ(textOf(simple, IDC_LAST_RUN_CAPTION), "前回メモリクリーナ実行日時");
    EXPECT_EQ(textOf(simple, IDC_SETTINGS_BUTTON), "設定(&F)");
    EXPECT_EQ(textOf(simple, IDC_HIDE_BUTTON), "隠す(&H)");
    EXPECT_EQ(automation::tooltipText(automation::findControl(simple, IDC_HIDE_BUTTON)), "このフォームを隠します");
    EXPECT_EQ(automation::tooltipText(automation::findControl(simple, IDC_LAST_RUN)),
              "メモリークリーナー実行権者は " + session.userName());
    // At the top-right corner of the work area.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT at{};
    ::GetWindowRect(simple, &at);
    EXPECT_NEAR(at.right, work.right, 12);
    EXPECT_EQ(at.top, work.top);
    EXPECT_FALSE(session.capture(simple, "numbers_window").empty());

    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    EXPECT_TRUE(waitVisible(simple, false));
    // The hide button does the same.
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(simple, true));
    ASSERT_TRUE(automation::clickButton(automation::findControl(simple, IDC_HIDE_BUTTON)));
    EXPECT_TRUE(waitVisible(simple, false));
    // And so does Esc, through the message loop's dialog keys.
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(simple, true));
    ASSERT_TRUE(automation::postMessage(automation::findControl(simple, IDC_SETTINGS_BUTTON), WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_TRUE(waitVisible(simple, false));
}

TEST(TidemarkWindows, GraphStyleShowsTheGraphWindowAndItFills) {
    TidemarkSession session;
    ASSERT_TRUE(session.writeUser("AppSetting", "FormStyle", "1"));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND graph = session.graphWindow(tidemark.id());
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_LBUTTONUP));
    ASSERT_TRUE(waitVisible(graph, true));
    EXPECT_FALSE(::IsWindowVisible(simple));
    ::Sleep(4000);
    EXPECT_TRUE(std::regex_match(textOf(graph, IDC_USED_MEMORY), std::regex("[0-9]{1,3}(,[0-9]{3})* KB 使用")));
    const auto image = automation::captureWindow(automation::findControl(graph, IDC_GRAPH));
    ASSERT_TRUE(image.has_value());
    EXPECT_FALSE(automation::isUniform(*image)) << "the graph box shows nothing";
    EXPECT_FALSE(session.capture(graph, "graph_window").empty());
    const auto tip = automation::tooltipText(automation::findControl(graph, IDC_GRAPH));
    ASSERT_TRUE(tip.has_value());
    EXPECT_TRUE(std::regex_match(*tip, std::regex("総物理メモリー [0-9,]+ KB / メモリー使用率 [0-9]+ %")));
}

TEST(TidemarkWindows, TrayMenuListsItsItemsAndCloseEndsTheProgramGivingTheRightBack) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    ASSERT_TRUE(session.trayCallback(tidemark.id(), WM_RBUTTONDOWN));
    HWND menu = automation::waitForPopupMenu(tidemark.id(), 10000);
    ASSERT_NE(menu, nullptr);
    std::string error;
    const auto items = automation::readPopupMenu(menu, &error);
    if (items) {
        // Where another process may read the menu (Windows), check it whole.
        std::vector<std::string> texts;
        for (const auto& item : *items) texts.push_back(item.separator ? "-" : item.text);
        EXPECT_EQ(texts, (std::vector<std::string>{"キャンセル (&C)", "-", "閉じる (&X)", "-", "隠す (&H)", "表示 (&S)",
                                                   "-", "設定 (&F)", "管理者設定 (&Q)", "-", "バージョン情報 (&A)", "-"}));
    }
    // Chosen as a user would, by its mnemonic.
    ASSERT_TRUE(automation::choosePopupMenuItemByMnemonic(menu, "x"));
    const auto code = tidemark.waitForExit(15000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), "NoUser");
}

TEST(TidemarkWindows, AboutWindowShowsTheVersion) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND window = session.openAboutWindow(tidemark.id());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(std::regex_match(textOf(window, IDC_ABOUT_VERSION), std::regex("Ver [0-9]+\\.[0-9]+\\.[0-9]+")));
    EXPECT_EQ(textOf(window, IDC_ABOUT_TITLE), "Tidemark");
    EXPECT_EQ(textOf(window, IDC_SYSTEM_INFO_BUTTON), "ｼｽﾃﾑ情報(&S)...");
    ::Sleep(500);   // the buttons painted before the capture
    EXPECT_FALSE(session.capture(window, "about_window").empty());
    // With the status window hidden: centred on the work area.
    RECT at{};
    ::GetWindowRect(window, &at);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(at.left + at.right, work.left + work.right, 2);
    EXPECT_NEAR(at.top + at.bottom, work.top + work.bottom, 2);
    ASSERT_TRUE(automation::clickButton(automation::findControl(window, IDOK)));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(window); }));
}

TEST(TidemarkWindows, AboutWindowWithoutSystemInformationKeepsEnterWorking) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND window = session.openAboutWindow(tidemark.id());
    ASSERT_NE(window, nullptr);
    HWND sysInfo = automation::findControl(window, IDC_SYSTEM_INFO_BUTTON);
    HWND ok = automation::findControl(window, IDOK);
    // The prefix has no system-information program.
    ASSERT_TRUE(automation::clickButton(sysInfo));
    const auto box = automation::waitForMessageBox(tidemark.id(), 10000, "システム情報は、現在使用できません");
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(automation::answerMessageBox(box->hwnd, IDOK));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindowEnabled(sysInfo); }));
    // The focus went to OK before the button was disabled: Enter closes.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, ok);
    ASSERT_TRUE(automation::postMessage(ok, WM_KEYDOWN, VK_RETURN, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(window); }));
}

} // namespace
} // namespace tidemark::e2e
