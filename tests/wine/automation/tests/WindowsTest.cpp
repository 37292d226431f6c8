// Finding top-level windows by class, caption, process and visibility.
#include "TargetProgram.h"

#include <gtest/gtest.h>

namespace tidemark::automation::test {
namespace {

TEST(Windows, FindsTheDialogByExactAndPartialCaption) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());

    WindowCriteria exact;
    exact.className = "#32770";
    exact.caption = kTargetCaption;
    exact.processId = target.pid();
    EXPECT_EQ(findWindow(exact), target.dialog());

    WindowCriteria part;
    part.caption = "操作";
    part.captionSubstring = true;
    part.processId = target.pid();
    EXPECT_EQ(findWindow(part), target.dialog());

    part.captionSubstring = false;
    EXPECT_EQ(findWindow(part), nullptr);
}

TEST(Windows, ClassNamesMatchIgnoringCase) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    WindowCriteria criteria;
    criteria.className = "tidemarkautomationtray";
    criteria.processId = target.pid();
    EXPECT_EQ(findWindow(criteria), target.tray());
}

TEST(Windows, RestrictsToOneProcess) {
    TargetProgram first;
    TargetProgram second;
    ASSERT_TRUE(first.ready());
    ASSERT_TRUE(second.ready());
    WindowCriteria criteria;
    criteria.caption = kTargetCaption;
    EXPECT_GE(findWindows(criteria).size(), 2u);
    criteria.processId = second.pid();
    const std::vector<HWND> found = findWindows(criteria);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front(), second.dialog());
}

TEST(Windows, VisibleOnlySkipsHiddenWindows) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    WindowCriteria tray;
    tray.className = kTrayClass;
    tray.processId = target.pid();
    EXPECT_EQ(findWindow(tray), target.tray());
    tray.visibleOnly = true;
    EXPECT_EQ(findWindow(tray), nullptr);
}

TEST(Windows, ListsEveryTopLevelWindowOfAProcess) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::vector<WindowInfo> windows = listWindows(target.pid());
    bool sawDialog = false;
    bool sawTray = false;
    for (const WindowInfo& info : windows) {
        EXPECT_EQ(info.processId, target.pid());
        if (info.hwnd == target.dialog()) {
            sawDialog = true;
            EXPECT_EQ(info.className, "#32770");
            EXPECT_EQ(info.caption, kTargetCaption);
            EXPECT_TRUE(info.visible);
            EXPECT_GT(info.rect.right - info.rect.left, 0);
            EXPECT_NE(formatWindowInfo(info).find(kTargetCaption), std::string::npos);
        }
        if (info.hwnd == target.tray()) {
            sawTray = true;
            EXPECT_FALSE(info.visible);
        }
    }
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(sawTray);
}

TEST(Windows, WaitingForAWindowThatNeverComesFailsOnTime) {
    WindowCriteria criteria;
    criteria.caption = "この窓はありません";
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_EQ(waitForWindow(criteria, 300), nullptr);
    const ULONGLONG elapsed = ::GetTickCount64() - before;
    EXPECT_GE(elapsed, 250u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(Windows, WaitsForAWindowToGo) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    WindowCriteria shown;
    shown.caption = kTargetCaption;
    shown.processId = target.pid();
    shown.visibleOnly = true;
    EXPECT_FALSE(waitForNoWindow(shown, 200));
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_HIDE)));
    EXPECT_TRUE(waitForNoWindow(shown, kEventTimeoutMs));
}

} // namespace
} // namespace tidemark::automation::test
