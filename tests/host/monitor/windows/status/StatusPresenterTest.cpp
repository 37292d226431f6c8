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
    EXPECT_EQ(state.mainWindow, 0x100u);
    EXPECT_EQ(ui.simple.tooltips[StatusControl::SettingsButton], "Tidemarkの設定を行います");
    EXPECT_EQ(ui.graph.tooltips[StatusControl::HideButton], "このフォームを隠します");
    EXPECT_EQ(ui.graph.tooltips[StatusControl::UsedMemory], "現在使用中のメモリーサイズを表示しています");
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
    ui.windows.setText(StatusWindow::Simple, StatusControl::MemoryLoad, "40 %");
    ui.windows.setText(StatusWindow::Simple, StatusControl::MemoryLoad, "40 %");
    ui.windows.setText(StatusWindow::Simple, StatusControl::LastRunText, "");   // an empty text is sent once too
    ui.windows.setText(StatusWindow::Simple, StatusControl::LastRunText, "");
    ui.windows.setText(StatusWindow::Simple, StatusControl::MemoryLoad, "41 %");
    EXPECT_EQ(ui.simple.textSends - before, 3);
    EXPECT_EQ(ui.simple.texts[StatusControl::MemoryLoad], "41 %");
}

TEST_F(Windows, PlacedInTheWorkAreasTopRightCornerAtEveryDpi) {
    machine.workArea = platform::Rect{0, 30, 1920, 1050};
    for (int dpi : {96, 120, 144, 168, 192}) {
        ui.simple.dpiValue = dpi;
        ui.simple.visible = false;
        ui.windows.toggleSimpleWindow();
        ASSERT_TRUE(ui.simple.position.has_value());
        EXPECT_EQ(ui.simple.position->left + ui.simple.width(), 1920) << dpi;
        EXPECT_EQ(ui.simple.position->top, 30) << dpi;
    }
    machine.workArea.reset();
    ui.simple.dpiValue = 96;
    ui.windows.toggleSimpleWindow();
    EXPECT_EQ(ui.simple.position, (PixelPoint{-333, 0}));
}

TEST_F(Windows, GraphIsDrawnOnlyWhileVisibleAndAtTheWindowsDpi) {
    state.memory.totalBytes = 1000u << 20;
    state.memory.availBytes = 250u << 20;
    state.memory.availKB = state.memory.availBytes / 1024;
    graph().onGraphTimer();
    EXPECT_EQ(ui.graph.frames, 0);
    EXPECT_EQ(ui.graph.texts[StatusControl::UsedMemory], "768,000 KB 使用");
    ui.graph.dpiValue = 192;
    state.display.windowStyle = 1;
    ui.windows.tray().onTrayCallback(TrayMouse::LeftButtonUp);
    ASSERT_EQ(ui.graph.frames, 1);   // the last frame, on showing
    // The sample (250 per mille free) sits at 228 and 229, a bar from pixel
    // 17 to the bottom at 100 %; the older bars have no length.
    EXPECT_EQ(ui.graph.frame.back().rect, (PixelRect{228 * 2, 17 * 2, 229 * 2, 67 * 2}));
    graph().onGraphTimer();
    EXPECT_EQ(ui.graph.frames, 2);
}

// A high-contrast theme on at start, and switched off and on while the
// program runs: the graph is drawn again at once in the colours that apply.
TEST_F(Windows, GraphFollowsHighContrastAtStartAndWhenItIsSwitched) {
    const platform::SystemColours system{0x000000, 0xFFFFFF, 0x00FF00, 0x00FFFF};
    machine.colourScheme = {true, system};
    MonitorState s;
    testing::RecordedWindows w{alice.platform(), s};
    w.windows.createStatusWindows();
    s.display.windowStyle = 1;
    w.windows.tray().onTrayCallback(TrayMouse::LeftButtonUp);
    ASSERT_EQ(w.graph.frames, 1);
    EXPECT_EQ(w.graph.colours, graphColours({true, system}));
    StatusPresenter& window = w.windows.window(StatusWindow::Graph);
    machine.colourScheme.highContrast = false;
    window.onColoursChanged();
    EXPECT_EQ(w.graph.frames, 2);
    EXPECT_EQ(w.graph.colours, graphColours({}));
    EXPECT_EQ(w.graph.colours[palette::Black], 0x000000u);
    machine.colourScheme = {true, {0xFFFFFF, 0x000000, 0x808080, 0x800080}};
    window.onColoursChanged();
    EXPECT_EQ(w.graph.colours[palette::Black], 0xFFFFFFu);
    EXPECT_EQ(w.graph.colours[palette::Red], 0x800080u);
}

TEST_F(Windows, EscapeHidesTheWindowAsTheHideButtonDoes) {
    ui.windows.toggleSimpleWindow();
    ASSERT_TRUE(ui.simple.visible);
    simple().onEscape();
    EXPECT_FALSE(ui.simple.visible);
}

TEST_F(Windows, TimersReachTheMainProgramsTicks) {
    state.settings.sharedPath = "C:\\Tidemark\\Tidemark.ini";
    state.windows.trayIconShown = false;
    simple().onTimer(StatusTimer::Timer2);   // the one-second tick adds the icon
    EXPECT_TRUE(state.windows.trayIconShown);
    EXPECT_TRUE(ui.tray.shown.has_value());
}

class AboutDialog : public Windows {};

TEST_F(AboutDialog, LoadsItsTextsAndCentresOnTheWorkAreaOrTheVisibleOwner) {
    state.windows.systemInfoAvailable = false;
    ui.windows.about().showModal();
    EXPECT_EQ(ui.about.caption, "Tidemark のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(ui.about.texts[AboutControl::Version], "Ver 1.2.3");
    EXPECT_EQ(ui.about.texts[AboutControl::Title], "Tidemark");
    EXPECT_FALSE(ui.about.enabled[AboutControl::SystemInfoButton]);
    EXPECT_EQ(ui.about.position, (PixelPoint{(1280 - 400) / 2, (984 - 200) / 2}));
    ui.about.ownerRect = platform::Rect{947, 0, 1280, 135};
    ui.windows.about().showModal();
    EXPECT_EQ(ui.about.position, (PixelPoint{880, 0}));
}

TEST_F(AboutDialog, AFailedStartMovesTheFocusToOkBeforeDisablingTheButton) {
    ui.about.whileOpen = [&] { ui.windows.about().onSystemInfoClicked(); };
    ui.log.clear();
    ui.windows.about().showModal();
    EXPECT_EQ(ui.log, (Log{"about opened", "focus OkButton", "disable SystemInfoButton", "about closed"}));
    EXPECT_FALSE(state.windows.systemInfoAvailable);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "システム情報は、現在使用できません");
}

} // namespace
} // namespace tidemark::monitor
