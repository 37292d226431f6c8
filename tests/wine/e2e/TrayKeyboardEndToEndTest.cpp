// The tray icon reached by the keyboard: the shell's version-4 notifications
// posted to the icon's window as the shell posts them. Enter or Space on the
// icon toggles the status window, the context-menu key opens the menu at the
// icon's anchor, Esc closes it and the focus goes back where it was.
#include <gtest/gtest.h>

#include "TidemarkSession.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

bool waitVisible(HWND window, bool visible) {
    return automation::pollUntil(5000, [&] { return (::IsWindowVisible(window) != FALSE) == visible; });
}

TEST(TrayKeyboard, KeySelectTogglesAndTheContextMenuOpensAtTheAnchorAndClosesWithEsc) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    ASSERT_TRUE(session.trayNotify(tidemark.id(), NIN_KEYSELECT));
    ASSERT_TRUE(waitVisible(simple, true));
    ASSERT_TRUE(session.trayNotify(tidemark.id(), NIN_KEYSELECT));
    ASSERT_TRUE(waitVisible(simple, false));
    // The shell granted version 4: a mouse message alone does nothing, the
    // select the shell sends after it acts.
    ASSERT_TRUE(session.trayNotify(tidemark.id(), WM_LBUTTONUP));
    ::Sleep(1000);
    EXPECT_FALSE(::IsWindowVisible(simple)) << "the icon is of the shell's first behaviour";
    ASSERT_TRUE(session.trayNotify(tidemark.id(), NIN_SELECT));
    ASSERT_TRUE(waitVisible(simple, true));
    ASSERT_TRUE(session.trayNotify(tidemark.id(), NIN_SELECT));
    ASSERT_TRUE(waitVisible(simple, false));

    // Another program has the focus when the context-menu key is pressed
    // on the icon.
    Process stowel = automation::start(automation::currentProgramFolder() + "\\Stowel.exe");
    ASSERT_TRUE(stowel);
    automation::WindowCriteria criteria;
    criteria.caption = "Tidemark設定 保存・読込み";
    criteria.visibleOnly = true;
    HWND front = automation::waitForProgramWindow(stowel, criteria, 30000);
    ASSERT_NE(front, nullptr);
    ::SetForegroundWindow(front);
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return ::GetForegroundWindow() == front; }));

    const POINT anchor{400, 300};
    ASSERT_TRUE(session.trayNotify(tidemark.id(), WM_CONTEXTMENU, anchor));
    HWND menu = automation::waitForPopupMenu(tidemark.id(), 10000);
    ASSERT_NE(menu, nullptr);
    RECT at{};
    ::GetWindowRect(menu, &at);
    EXPECT_EQ(at.left, anchor.x);
    EXPECT_EQ(at.top, anchor.y);
    ASSERT_TRUE(automation::closePopupMenu(menu));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return ::GetForegroundWindow() == front; }))
        << "the focus did not go back to the window that had it";
    // Nothing was chosen: no window opened, the program runs on.
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowVisible(simple));
    EXPECT_FALSE(tidemark.waitForExit(0).has_value());
}

} // namespace
} // namespace tidemark::e2e
