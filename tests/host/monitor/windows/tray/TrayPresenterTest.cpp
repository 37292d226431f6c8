// The tray icon and its menu: clicks in every state, the menu's items after
// each toggle, the commands, and the icon's registration with the shell.
#include <gtest/gtest.h>

#include "shared/settings/SettingsFiles.h"
#include "support/RecordingViews.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using testing::Log;

class Tray : public testing::SimFixture {
protected:
    Tray() {
        ui.windows.createStatusWindows();
        ui.log.clear();
    }
    TrayPresenter& tray() { return ui.windows.tray(); }
    std::vector<std::string> menuTexts() {
        std::vector<std::string> texts;
        for (const TrayMenuItem& item : tray().menuItems())
            if (!item.separator) texts.push_back(item.text + (item.enabled ? "" : " (grey)"));
        return texts;
    }

    MonitorState state;
    testing::RecordedWindows ui{alice.platform(), state};
};

struct ClickCase {
    const char* name;
    int formStyle;
    bool admBusy, aboutOpen, passwordOpen;
    TrayMouse mouse;
    Log expected;   // after the icon's modification
    bool simpleShown, graphShown;
};

TEST_F(Tray, EveryClickInEveryState) {
    const ClickCase cases[] = {
        {"left, numeric style", 0, false, false, false, TrayMouse::LeftButtonUp, {"frmSimple shown"}, true, false},
        {"left, graph style", 1, false, false, false, TrayMouse::LeftButtonUp, {"frmGraph shown"}, false, true},
        {"right", 0, false, false, false, TrayMouse::RightButtonDown, {"menu"}, false, false},
        {"other", 0, false, false, false, TrayMouse::Other, {}, false, false},
        {"left, administrator busy", 0, true, false, false, TrayMouse::LeftButtonUp, {"beep"}, false, false},
        {"right, administrator busy", 1, true, false, false, TrayMouse::RightButtonDown, {"beep"}, false, false},
        {"left, About open", 0, false, true, false, TrayMouse::LeftButtonUp, {"focus OkButton"}, false, false},
        {"left, About open, graph", 1, false, true, false, TrayMouse::LeftButtonUp, {"focus OkButton"}, false, false},
        {"right, About open", 0, false, true, false, TrayMouse::RightButtonDown, {"focus OkButton"}, false, false},
        // The password window holds back the graph window and the menu, not
        // the numeric window.
        {"left, password open", 0, false, false, true, TrayMouse::LeftButtonUp, {"frmSimple shown"}, true, false},
        {"left, password open, graph", 1, false, false, true, TrayMouse::LeftButtonUp, {"password"}, false, false},
        {"right, password open", 0, false, false, true, TrayMouse::RightButtonDown, {"password"}, false, false},
    };
    for (const ClickCase& c : cases) {
        MonitorState s;
        testing::RecordedWindows w{alice.platform(), s};
        TrayActions actions;
        w.windows.createStatusWindows();
        s.display.windowStyle = c.formStyle;
        s.windows.adminBusy = c.admBusy;
        s.windows.aboutClosed = !c.aboutOpen;
        s.windows.passwordClosed = !c.passwordOpen;
        TrayPresenter tray(s, alice.platform().clock, w.tray, w.windows.statusForTray(StatusWindow::Simple),
                           w.windows.statusForTray(StatusWindow::Graph), w.windows.aboutForTray(),
                           TrayActions{{}, {}, {}, {}, {}, [&] { w.log.push_back("password"); }, {}});
        tray.addTrayIcon();
        w.log.clear();
        tray.onTrayCallback(c.mouse);
        Log expected{"icon modified"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(w.log, expected) << c.name;
        EXPECT_EQ(w.simple.visible, c.simpleShown) << c.name;
        EXPECT_EQ(w.graph.visible, c.graphShown) << c.name;
    }
}

struct NotificationCase {
    const char* name;
    bool version4;   // granted by the shell
    int formStyle;
    bool admBusy;
    TrayMouse mouse;
    Log expected;   // after the icon's modification
    bool simpleShown, graphShown;
    std::optional<PixelPoint> menuAnchor;
};

// The notifications act; under version 4 the mouse messages before them do
// not, so that a click acts once.
TEST_F(Tray, EveryNotificationWithAndWithoutVersion4) {
    const PixelPoint anchor{1250, 1000};
    const NotificationCase cases[] = {
        {"select", true, 0, false, TrayMouse::Select, {"frmSimple shown"}, true, false, {}},
        {"key select", true, 0, false, TrayMouse::KeySelect, {"frmSimple shown"}, true, false, {}},
        {"key select, graph style", true, 1, false, TrayMouse::KeySelect, {"frmGraph shown"}, false, true, {}},
        {"context menu", true, 0, false, TrayMouse::ContextMenu, {"menu"}, false, false, anchor},
        {"key select, administrator busy", true, 0, true, TrayMouse::KeySelect, {"beep"}, false, false, {}},
        {"select, administrator busy", true, 1, true, TrayMouse::Select, {"beep"}, false, false, {}},
        {"context menu, administrator busy", true, 0, true, TrayMouse::ContextMenu, {"beep"}, false, false, {}},
        {"left button up before select", true, 0, false, TrayMouse::LeftButtonUp, {}, false, false, {}},
        {"right button down before the menu", true, 0, false, TrayMouse::RightButtonDown, {}, false, false, {}},
        // Posted by another program to an icon the shell left in its first
        // behaviour.
        {"first behaviour: key select", false, 1, false, TrayMouse::KeySelect, {"frmGraph shown"}, false, true, {}},
        {"first behaviour: context menu", false, 0, false, TrayMouse::ContextMenu, {"menu"}, false, false, anchor},
        {"first behaviour: right button, at the mouse", false, 0, false, TrayMouse::RightButtonDown, {"menu"}, false,
         false, {}},
    };
    for (const NotificationCase& c : cases) {
        MonitorState s;
        testing::RecordedWindows w{alice.platform(), s};
        w.tray.grantsVersion4 = c.version4;
        w.windows.createStatusWindows();
        s.display.windowStyle = c.formStyle;
        s.windows.adminBusy = c.admBusy;
        w.windows.tray().addTrayIcon();
        w.log.clear();
        w.windows.tray().onTrayCallback(c.mouse, anchor);
        Log expected{"icon modified"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(w.log, expected) << c.name;
        EXPECT_EQ(w.simple.visible, c.simpleShown) << c.name;
        EXPECT_EQ(w.graph.visible, c.graphShown) << c.name;
        EXPECT_EQ(w.tray.menuAnchor, c.menuAnchor) << c.name;
    }
}

TEST_F(Tray, Version4IsAskedForAtEveryAddAndFollowsTheShellsAnswer) {
    ui.tray.grantsVersion4 = true;
    ASSERT_TRUE(tray().addTrayIcon());
    EXPECT_EQ(ui.tray.version4Requests, 1);
    EXPECT_TRUE(tray().version4());
    // A restarted shell that no longer grants it: the mouse messages act.
    ui.tray.shown.reset();
    ui.tray.grantsVersion4 = false;
    tray().onTaskbarCreated();
    EXPECT_EQ(ui.tray.version4Requests, 2);
    EXPECT_FALSE(tray().version4());
    tray().onTrayCallback(TrayMouse::LeftButtonUp);
    EXPECT_TRUE(ui.simple.visible);
    // An add the shell refuses asks nothing.
    ui.tray.accepts = false;
    ui.tray.taskbar = 0x777;
    tray().checkTrayRestart();
    EXPECT_EQ(ui.tray.version4Requests, 2);
}

TEST_F(Tray, MenuItemsFollowEachToggle) {
    const std::vector<std::string> all{"キャンセル (&C)",         "閉じる (&X)", "隠す (&H)",
                                       "表示 (&S)",               "今すぐクリーニング (&M)", "設定 (&F)",
                                       "管理者設定 (&Q)",         "バージョン情報 (&A)"};
    EXPECT_EQ(menuTexts(), all);
    tray().onTrayCallback(TrayMouse::LeftButtonUp);   // shown
    auto shown = all;
    shown.erase(shown.begin() + 3);
    EXPECT_EQ(menuTexts(), shown);
    tray().menuCommand(TrayCommand::Hide);
    EXPECT_FALSE(ui.simple.visible);
    auto hidden = all;
    hidden.erase(hidden.begin() + 2);
    EXPECT_EQ(menuTexts(), hidden);
    ui.windows.window(StatusWindow::Simple).onHideClicked();   // 隠す shows again when hidden
    EXPECT_TRUE(ui.simple.visible);
    EXPECT_EQ(menuTexts(), shown);
    ui.windows.window(StatusWindow::Simple).onEscape();
    EXPECT_FALSE(ui.simple.visible);
    EXPECT_EQ(menuTexts(), hidden);
    // For users who are not administrators the item is grey and does nothing.
    ui.windows.disableAdministratorMenu();
    hidden[5] = "管理者設定 (&Q) (grey)";
    EXPECT_EQ(menuTexts(), hidden);
    tray().showTrayMenu();
    ASSERT_EQ(ui.tray.menus.size(), 1u);
    EXPECT_EQ(ui.tray.menus[0].size(), 12u);   // with its separators
}

TEST_F(Tray, HideButtonOfEitherWindowTogglesTheStyledWindow) {
    state.display.windowStyle = 1;
    ui.windows.window(StatusWindow::Simple).onHideClicked();
    EXPECT_TRUE(ui.graph.visible);
    EXPECT_FALSE(ui.simple.visible);
    ui.windows.window(StatusWindow::Graph).onCloseBox();
    EXPECT_FALSE(ui.graph.visible);
}

TEST_F(Tray, CommandsReachTheirWindows) {
    std::vector<std::string> calls;
    MonitorState s;
    testing::RecordedWindows w{alice.platform(), s};
    w.windows.createStatusWindows();
    auto record = [&](const char* what) { return [&calls, what] { calls.push_back(what); }; };
    TrayPresenter tray(s, alice.platform().clock, w.tray, w.windows.statusForTray(StatusWindow::Simple),
                       w.windows.statusForTray(StatusWindow::Graph), w.windows.aboutForTray(),
                       TrayActions{record("close"), record("settings"), record("settings front"), record("admin"),
                                   record("admin front"), record("password"), record("clean now")});
    tray.menuCommand(TrayCommand::Cancel);
    tray.menuCommand(TrayCommand::CleanNow);
    tray.menuCommand(TrayCommand::Fix);
    s.windows.settingsOpen = true;
    tray.menuCommand(TrayCommand::Fix);
    tray.menuCommand(TrayCommand::AdmFix);
    s.windows.adminOpen = true;
    tray.menuCommand(TrayCommand::AdmFix);
    tray.disableAdministratorMenu();
    tray.menuCommand(TrayCommand::AdmFix);
    tray.menuCommand(TrayCommand::Close);
    EXPECT_EQ(calls, (std::vector<std::string>{"clean now", "settings", "settings front", "admin", "admin front",
                                               "close"}));

    // The About window: windows.aboutClosed is false only while it is shown.
    bool closedWhileOpen = true;
    w.about.whileOpen = [&] { closedWhileOpen = s.windows.aboutClosed; };
    w.log.clear();
    tray.menuCommand(TrayCommand::Ver);
    EXPECT_FALSE(closedWhileOpen);
    EXPECT_TRUE(s.windows.aboutClosed);
    EXPECT_EQ(w.log, (Log{"about opened", "about closed"}));
}

TEST_F(Tray, CloseEndsTheProgramGivingTheRightBack) {
    state.right.held = true;
    state.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    state.user.sid = testing::kAliceSid;
    SettingsFiles(alice.platform(), state).write("AppSettingFlag", "MemCleanRightUser", std::string(testing::kAliceSid));
    tray().addTrayIcon();
    tray().menuCommand(TrayCommand::Close);
    EXPECT_TRUE(ui.ended);
    EXPECT_FALSE(ui.simple.created);
    EXPECT_FALSE(ui.tray.shown.has_value());
    EXPECT_TRUE(ui.simple.timers.empty());
    EXPECT_EQ(SettingsFiles(alice.platform(), state).read("AppSettingFlag", "MemCleanRightUser"), "NoUser");
}

TEST_F(Tray, TaskbarCreatedAddsTheIconAgain) {
    ASSERT_TRUE(tray().addTrayIcon());
    ui.tray.shown.reset();           // the restarted shell forgot it
    ui.tray.taskbar = 0x900;
    state.windows.trayIconShown = false;
    ui.log.clear();
    tray().onTaskbarCreated();
    EXPECT_EQ(ui.log, (Log{"icon deleted", "icon added"}));
    EXPECT_TRUE(state.windows.trayIconShown);
    EXPECT_TRUE(ui.tray.shown.has_value());
    EXPECT_EQ(state.windows.tray, 0x900u);
    // A broadcast while the icon is still there adds it all the same.
    tray().onTaskbarCreated();
    EXPECT_TRUE(state.windows.trayIconShown);
}

TEST_F(Tray, ANewTaskbarWindowMeansTheShellRestarted) {
    ASSERT_TRUE(tray().addTrayIcon());
    ui.log.clear();
    tray().checkTrayRestart();
    EXPECT_TRUE(ui.log.empty());
    ui.tray.taskbar = 0x901;
    tray().checkTrayRestart();
    EXPECT_EQ(ui.log, (Log{"icon deleted", "icon added"}));
    EXPECT_EQ(state.windows.tray, 0x901u);
}

TEST_F(Tray, PictureGoesToTheShellOnlyWhenItChanges) {
    ASSERT_TRUE(tray().addTrayIcon());
    ui.log.clear();
    state.memory.loadPercent = 40;
    tray().refreshTrayImage();   // the first refresh always sends
    tray().refreshTrayImage();
    EXPECT_EQ(ui.log, (Log{"icon modified"}));
    state.memory.loadPercent = 90;
    state.memory.availBytes = 10u << 20;
    tray().refreshTrayImage();
    EXPECT_EQ(ui.tray.shown, TrayImage::Frm_03_Red);
    EXPECT_EQ(ui.tray.tip, "Tidemark\rメモリ使用率 90%（残り僅か）");
}

TEST_F(Tray, StartUpWaitsForTheTaskbarWithoutLimitAndWithoutSpinning) {
    // The taskbar appears after ten minutes of logon: looked for ten times
    // a second, through the platform's clock.
    MonitorState s;
    testing::RecordedWindows w{alice.platform(), s};
    w.tray.taskbarMissingFor = 6000;
    auto& clock = alice.platform().clock;
    const std::uint64_t start = clock.monotonicMs();
    w.windows.createStatusWindows();
    EXPECT_EQ(s.windows.tray, 0x500u);
    EXPECT_EQ(clock.monotonicMs() - start, 6000 * TrayPresenter::kTaskbarPollMs);
    EXPECT_EQ(w.tray.taskbarLookups, 6001);
}

} // namespace
} // namespace tidemark::monitor
