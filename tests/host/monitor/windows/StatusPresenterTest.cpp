// The status windows and the About window through their presenters.
#include <gtest/gtest.h>

#include "support/RecordingViews.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using testing::Log;

class Windows : public testing::SimFixture {
protected:
    Windows() { ui.windows.createStatusWindows(); }
    StatusPresenter& simple() { return ui.windows.window(StatusWindow::Simple); }
    StatusPresenter& graph() { return ui.windows.window(StatusWindow::Graph); }

    MonitorState state;
    testing::RecordedWindows ui{alice.platform(), state};
};

TEST_F(Windows, CreatedHiddenWithTheirTooltipsAndTimersStopped) {
    EXPECT_TRUE(ui.simple.created);
    EXPECT_FALSE(ui.simple.visible);
    EXPECT_EQ(state.lngMainWnd, 0x100u);
    EXPECT_EQ(ui.simple.tooltips[StatusControl::cmdFix], "Tidemarkの設定を行います");
    EXPECT_EQ(ui.graph.tooltips[StatusControl::cmdHide], "このフォームを隠します");
    EXPECT_EQ(ui.graph.tooltips[StatusControl::lblUseMem], "現在使用中のメモリーサイズを表示しています");
    EXPECT_TRUE(ui.simple.timers.empty());
    ui.windows.startTimers();
    EXPECT_EQ(ui.simple.timers, (std::map<StatusTimer, unsigned>{{StatusTimer::Timer1, 60000}, {StatusTimer::Timer2, 1000}}));
    EXPECT_EQ(ui.graph.timers, (std::map<StatusTimer, unsigned>{{StatusTimer::Timer1, 1000}}));
    ui.windows.stopMainTimers();
    EXPECT_TRUE(ui.simple.timers.empty());
    EXPECT_EQ(ui.graph.timers.size(), 1u);
}

TEST_F(Windows, OnlyChangedTextsReachTheWindow) {
    const int before = ui.simple.textSends;
    ui.windows.setText(StatusWindow::Simple, StatusControl::Label1_1, "40 %");
    ui.windows.setText(StatusWindow::Simple, StatusControl::Label1_1, "40 %");
    ui.windows.setText(StatusWindow::Simple, StatusControl::Label4_1, "");   // an empty text is sent once too
    ui.windows.setText(StatusWindow::Simple, StatusControl::Label4_1, "");
    ui.windows.setText(StatusWindow::Simple, StatusControl::Label1_1, "41 %");
    EXPECT_EQ(ui.simple.textSends - before, 3);
    EXPECT_EQ(ui.simple.texts[StatusControl::Label1_1], "41 %");
}

TEST_F(Windows, PlacedInTheWorkAreasTopRightCornerAtEveryDpi) {
    machine.workArea = platform::Rect{0, 30, 1920, 1050};
    for (int dpi : {96, 120, 144, 168, 192}) {
        ui.simple.dpiValue = dpi;
        ui.simple.visible = false;
        ui.windows.ToggleSimpleWindow();
        ASSERT_TRUE(ui.simple.position.has_value());
        EXPECT_EQ(ui.simple.position->left + ui.simple.width(), 1920) << dpi;
        EXPECT_EQ(ui.simple.position->top, 30) << dpi;
    }
    machine.workArea.reset();
    ui.simple.dpiValue = 96;
    ui.windows.ToggleSimpleWindow();
    EXPECT_EQ(ui.simple.position, (PixelPoint{-333, 0}));
}

TEST_F(Windows, GraphIsDrawnOnlyWhileVisibleAndAtTheWindowsDpi) {
    state.curTotalPhys = 1000u << 20;
    state.curAvailPhys = 250u << 20;
    state.curAvailPhysKB = state.curAvailPhys / 1024;
    graph().GraphTimer1();
    EXPECT_EQ(ui.graph.frames, 0);
    EXPECT_EQ(ui.graph.texts[StatusControl::lblUseMem], "768,000 KB 使用");
    ui.graph.dpiValue = 192;
    state.intFormStyle = 1;
    ui.windows.tray().onTrayCallback(TrayMouse::LeftButtonUp);
    ASSERT_EQ(ui.graph.frames, 1);   // the last frame, on showing
    // The sample (250 per mille free) sits at 228 and 229, a bar from pixel
    // 17 to the bottom at 100 %; the older bars have no length.
    EXPECT_EQ(ui.graph.frame.back().rect, (PixelRect{228 * 2, 17 * 2, 229 * 2, 67 * 2}));
    graph().GraphTimer1();
    EXPECT_EQ(ui.graph.frames, 2);
}

TEST_F(Windows, EscapeHidesTheWindowAsTheHideButtonDoes) {
    ui.windows.ToggleSimpleWindow();
    ASSERT_TRUE(ui.simple.visible);
    simple().Form_Escape();
    EXPECT_FALSE(ui.simple.visible);
}

TEST_F(Windows, TimersReachTheMainProgramsTicks) {
    state.strIniFilePath = "C:\\Tidemark\\Tidemark.ini";
    state.bolTrayIconFlag = false;
    simple().Timer_Timer(StatusTimer::Timer2);   // the one-second tick adds the icon
    EXPECT_TRUE(state.bolTrayIconFlag);
    EXPECT_TRUE(ui.tray.shown.has_value());
}

class AboutDialog : public Windows {};

TEST_F(AboutDialog, LoadsItsTextsAndCentresOnTheWorkAreaOrTheVisibleOwner) {
    state.bolSysInfoFlag = false;
    ui.windows.about().showModal();
    EXPECT_EQ(ui.about.caption, "Tidemark のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(ui.about.texts[AboutControl::lblVersion], "Ver 1.2.3");
    EXPECT_EQ(ui.about.texts[AboutControl::lblTitle], "Tidemark");
    EXPECT_FALSE(ui.about.enabled[AboutControl::cmdSysInfo]);
    EXPECT_EQ(ui.about.position, (PixelPoint{(1280 - 400) / 2, (984 - 200) / 2}));
    ui.about.ownerRect = platform::Rect{947, 0, 1280, 135};
    ui.windows.about().showModal();
    EXPECT_EQ(ui.about.position, (PixelPoint{880, 0}));
}

TEST_F(AboutDialog, AFailedStartMovesTheFocusToOkBeforeDisablingTheButton) {
    ui.about.whileOpen = [&] { ui.windows.about().cmdSysInfo_Click(); };
    ui.log.clear();
    ui.windows.about().showModal();
    EXPECT_EQ(ui.log, (Log{"about opened", "focus cmdOK", "disable cmdSysInfo", "about closed"}));
    EXPECT_FALSE(state.bolSysInfoFlag);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "システム情報は、現在使用できません");
}

} // namespace
} // namespace tidemark::monitor
