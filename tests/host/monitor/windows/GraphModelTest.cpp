// The graph: sample colours, the history shift, and the lines of a frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/windows/GraphModel.h"
#include "monitor/windows/WindowPlacement.h"

namespace tidemark::monitor {
namespace {

TEST(GraphModel, StartsFullOfFreeMemoryAndBlack) {
    GraphModel g;
    EXPECT_TRUE(std::all_of(g.lngGraphValue.begin(), g.lngGraphValue.end(), [](int v) { return v == 1000; }));
    EXPECT_TRUE(std::all_of(g.lngGraphColor.begin(), g.lngGraphColor.end(), [](int c) { return c == 0; }));
    EXPECT_EQ(g.lngGridOffset, 0);
}

TEST(GraphModel, ColourBandsAndGridColours) {
    struct Case { int value; std::uint64_t availKB; int bar, grid; };
    const Case cases[] = {
        {1000, 900000, palette::DarkBlue, palette::DarkCyan}, {801, 900000, palette::DarkBlue, palette::DarkCyan},
        {800, 900000, palette::Blue, palette::DarkCyan},      {501, 900000, palette::Blue, palette::DarkCyan},
        {500, 900000, palette::Green, palette::DarkCyan},     {341, 900000, palette::Green, palette::DarkCyan},
        {340, 51200, palette::Yellow, palette::DarkYellow},   {340, 51199, palette::Red, palette::DarkRed},
        {0, 10, palette::Red, palette::DarkRed},
    };
    for (const Case& c : cases) {
        GraphModel g;
        EXPECT_EQ(g.PushGraphSample(c.value, c.availKB), c.grid) << c.value;
        EXPECT_EQ(g.lngGraphColor[228], c.bar) << c.value;   // moved down by one
        EXPECT_EQ(g.lngGraphValue[228], c.value);
    }
}

TEST(GraphModel, ValueOutsideTheRangeKeepsTheColourAndBlackensTheGrid) {
    GraphModel g;
    g.PushGraphSample(600, 900000);
    EXPECT_EQ(g.PushGraphSample(1001, 900000), palette::Black);
    EXPECT_EQ(g.lngGraphValue[228], 1001);
    EXPECT_EQ(g.lngGraphColor[228], palette::Blue);   // the colour entry was left as it was
    EXPECT_EQ(g.PushGraphSample(-1, 900000), palette::Black);
}

TEST(GraphModel, HistoryMovesOneStepPerSample) {
    GraphModel g;
    for (int i = 0; i < 5; ++i) g.PushGraphSample(100 * (i + 1), 900000);
    EXPECT_EQ(g.lngGraphValue[228], 500);
    EXPECT_EQ(g.lngGraphValue[224], 100);
    EXPECT_EQ(g.lngGraphValue[223], 1000);
    EXPECT_EQ(g.lngGraphValue[229], 500);   // the newest stays until overwritten
}

TEST(GraphModel, FrameDrawsGridAndBarsAndDriftsOnePixel) {
    GraphModel g;
    g.PushGraphSample(340, 900000);
    const auto lines = g.DrawGraph(palette::DarkYellow, 15);
    ASSERT_EQ(lines.size(), 3u + 17u + 229u);
    EXPECT_EQ(lines[0].y1, 250);
    EXPECT_EQ(lines[0].x2, 3500);
    EXPECT_EQ(lines[3].x1, 0);
    EXPECT_EQ(lines[4].x1, 225);
    EXPECT_EQ(g.lngGridOffset, 15);
    const GraphLine& newest = lines[3 + 17];   // j = 229 first
    EXPECT_EQ(newest.x1, 229 * 15);
    EXPECT_EQ(newest.y1, 1000);
    EXPECT_EQ(newest.y2, 340);
    EXPECT_EQ(lines[3 + 17 + 1].y2, 340);       // j = 228 holds the pushed sample
    EXPECT_EQ(lines[3 + 17 + 1].colour, palette::Yellow);
    // The grid moves left a pixel a second and wraps after fifteen.
    const auto next = g.DrawGraph(palette::DarkYellow, 15);
    EXPECT_EQ(next[3].x1, -15);
    for (int i = 0; i < 14; ++i) g.DrawGraph(0, 15);
    EXPECT_EQ(g.lngGridOffset, 15);
}

TEST(GraphModel, FreePerMilleIsTheIntegerPart) {
    EXPECT_EQ(freePerMille(340, 1000), 340);
    EXPECT_EQ(freePerMille(3419, 10000), 341);
    EXPECT_EQ(freePerMille(1ULL << 30, 1ULL << 31), 500);
    EXPECT_EQ(freePerMille(5, 0), 0);
}

TEST(WindowPlacement, TopRightOfTheWorkArea) {
    EXPECT_EQ(statusWindowPosition(1280, 0, 15, 15).left, 1280 * 15 - 4995);
    EXPECT_EQ(statusWindowPosition(1280, 0, 15, 15).top, 0);
    EXPECT_EQ(statusWindowPosition(2560, 40, 12, 12).top, 480);
    EXPECT_EQ(statusWindowPosition(0, 0, 15, 15).left, -4995);   // no monitor information
}

} // namespace
} // namespace tidemark::monitor
