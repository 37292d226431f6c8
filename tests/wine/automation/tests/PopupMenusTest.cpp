// The tray-style pop-up menu: opened by the callback message, chosen from
// with the keyboard, or closed.
#include "TargetProgram.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tidemark::automation::test {
namespace {

// The menu runs a modal loop inside the callback, so the callback is posted.
HWND openTrayMenu(TargetProgram& target) {
    if (!postMessage(target.tray(), WM_TARGET_TRAY_CALLBACK, 0, WM_RBUTTONDOWN)) return nullptr;
    return waitForPopupMenu(target.pid(), kEventTimeoutMs);
}

TEST(PopupMenus, ChoosesAnItemByPosition) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_HIDE)));
    ASSERT_TRUE(target.waitForLogLine("hide"));
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(target.waitForLogLine("tray-menu=open"));
    ASSERT_TRUE(choosePopupMenuItem(menu, 0));
    EXPECT_TRUE(target.waitForLogLine("menu=show"));
    EXPECT_TRUE(target.waitForLogLine("tray-menu=closed"));
    EXPECT_TRUE(::IsWindowVisible(target.dialog()));
}

TEST(PopupMenus, PositionsCountGrayedItems) {
    TargetProgram target("--exit-code 5");
    ASSERT_TRUE(target.ready());
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    // Without the items read, positions skip no separator: 0 表示, 1 使えない項目, 2 終了.
    ASSERT_TRUE(choosePopupMenuItem(menu, 2));
    EXPECT_TRUE(target.waitForLogLine("menu=exit"));
    EXPECT_EQ(target.process().waitForExit(kEventTimeoutMs), std::optional<DWORD>(5));
}

TEST(PopupMenus, ChoosesByMnemonic) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(choosePopupMenuItemByMnemonic(menu, "s"));
    EXPECT_TRUE(target.waitForLogLine("menu=show"));
    EXPECT_FALSE(choosePopupMenuItemByMnemonic(menu, "sx"));
}

TEST(PopupMenus, ChoosesByCommandAfterClosing) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(choosePopupMenuCommand(menu, target.tray(), IDM_TRAY_SHOW));
    ASSERT_TRUE(target.waitForLogLine("menu=show"));
    const std::vector<std::string> lines = target.logLines();
    const auto closed = std::find(lines.begin(), lines.end(), "tray-menu=closed");
    const auto shown = std::find(lines.begin(), lines.end(), "menu=show");
    EXPECT_LT(closed - lines.begin(), shown - lines.begin());
}

// Windows reads another process's menu; Wine keeps menus per process.
TEST(PopupMenus, ReadsTheItemsWhereTheSystemAllows) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    std::string error;
    const std::optional<std::vector<MenuItem>> items = readPopupMenu(menu, &error);
    if (runningUnderWine()) {
        EXPECT_FALSE(items.has_value());
        EXPECT_NE(error.find("another process"), std::string::npos) << error;
        EXPECT_FALSE(choosePopupMenuItemByText(menu, "表示(&S)"));
    } else {
        ASSERT_TRUE(items.has_value()) << error;
        ASSERT_EQ(items->size(), 4u);
        EXPECT_EQ((*items)[0].text, "表示(&S)");
        EXPECT_EQ((*items)[0].id, static_cast<UINT>(IDM_TRAY_SHOW));
        EXPECT_TRUE((*items)[1].disabled);
        EXPECT_TRUE((*items)[2].separator);
        EXPECT_EQ((*items)[3].id, static_cast<UINT>(IDM_TRAY_EXIT));
        ASSERT_TRUE(choosePopupMenuItemByText(menu, "表示(S)"));
        EXPECT_TRUE(target.waitForLogLine("menu=show"));
    }
    closePopupMenu(menu);
}

TEST(PopupMenus, ClosesWithoutChoosing) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND menu = openTrayMenu(target);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(closePopupMenu(menu));
    EXPECT_TRUE(target.waitForLogLine("tray-menu=closed"));
    for (const std::string& line : target.logLines()) EXPECT_NE(line.rfind("menu=", 0), 0u) << line;
}

TEST(PopupMenus, MnemonicMarkersAreDroppedForComparing) {
    EXPECT_EQ(withoutMnemonicMarker("終了(&X)"), "終了(X)");
    EXPECT_EQ(withoutMnemonicMarker("A && B"), "A & B");
    EXPECT_EQ(withoutMnemonicMarker("plain"), "plain");
}

} // namespace
} // namespace tidemark::automation::test
