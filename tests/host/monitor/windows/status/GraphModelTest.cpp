// The graph: sample colours, the history shift, and the lines of a frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/windows/status/GraphModel.h"
#include "monitor/windows/WindowPlacement.h"

namespace tidemark::monitor {
namespace {

TEST(GraphModel, StartsFullOfFreeMemoryAndBlack) {
    GraphModel g;
    EXPECT_TRUE(std::all_of(g.samples.begin(), g.samples.end(), [](int v) { return v == 1000; }));
    EXPECT_TRUE(std::all_of(g.colours.begin(), g.colours.end(), [](int c) { return c == 0; }));
    EXPECT_EQ(g.gridOffset, 0);
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
        EXPECT_EQ(g.pushSample(c.value, c.availKB), c.grid) << c.value;
        EXPECT_EQ(g.colours[228], c.bar) << c.value;   // moved down by one
        EXPECT_EQ(g.samples[228], c.value);
    }
}

// Under high contrast each part of the graph takes its system colour: the
// background the window's, the bars of plenty the text's, the grid gray
// text's and the yellow and red bands the highlight's.
TEST(GraphModel, ColoursAreThePalettesOrUnderHighContrastTheSystems) {
    const platform::SystemColours system{0x102030, 0x405060, 0x708090, 0xA0B0C0};
    struct Case { int index; std::uint32_t normal, highContrast; };
    const Case cases[] = {
        {palette::Black, 0x000000, system.window},        {palette::DarkBlue, 0x000080, system.windowText},
        {palette::Blue, 0x0000FF, system.windowText},     {palette::Green, 0x00FF00, system.windowText},
        {palette::DarkCyan, 0x008080, system.grayText},   {palette::DarkYellow, 0x808000, system.grayText},
        {palette::DarkRed, 0x800000, system.grayText},    {palette::Yellow, 0xFFFF00, system.highlight},
        {palette::Red, 0xFF0000, system.highlight},
    };
    const GraphColours normal = graphColours({false, system});
    const GraphColours contrast = graphColours({true, system});
    for (const Case& c : cases) {
        EXPECT_EQ(normal[c.index], c.normal) << c.index;
        EXPECT_EQ(contrast[c.index], c.highContrast) << c.index;
    }
}

TEST(GraphModel, ValueOutsideTheRangeKeepsTheColourAndBlackensTheGrid) {
    GraphModel g;
    g.pushSample(600, 900000);
    EXPECT_EQ(g.pushSample(1001, 900000), palette::Black);
    EXPECT_EQ(g.samples[228], 1001);
    EXPECT_EQ(g.colours[228], palette::Blue);   // the colour entry was left as it was
    EXPECT_EQ(g.pushSample(-1, 900000), palette::Black);
}

TEST(GraphModel, HistoryMovesOneStepPerSample) {
    GraphModel g;
    for (int i = 0; i < 5; ++i) g.pushSample(100 * (i + 1), 900000);
    EXPECT_EQ(g.samples[228], 500);
    EXPECT_EQ(g.samples[224], 100);
    EXPECT_EQ(g.samples[223], 1000);
    EXPECT_EQ(g.samples[229], 500);   // the newest stays until overwritten
}

TEST(GraphModel, FrameDrawsGridAndBarsAndDriftsOnePixel) {
    GraphModel g;
    g.pushSample(340, 900000);
    const auto lines = g.drawFrame(palette::DarkYellow);
    ASSERT_EQ(lines.size(), 3u + 17u + 229u);
    EXPECT_EQ(lines[0].y1, 250);
    EXPECT_EQ(lines[0].x2, 3500);
    EXPECT_EQ(lines[3].x1, 0);
    EXPECT_EQ(lines[4].x1, 225);
    EXPECT_EQ(g.gridOffset, 15);
    const GraphLine& newest = lines[3 + 17];   // j = 229 first
    EXPECT_EQ(newest.x1, 229 * 15);
    EXPECT_EQ(newest.y1, 1000);
    EXPECT_EQ(newest.y2, 340);
    EXPECT_EQ(lines[3 + 17 + 1].y2, 340);       // j = 228 holds the pushed sample
    EXPECT_EQ(lines[3 + 17 + 1].colour, palette::Yellow);
    // The grid moves left a pixel a second and wraps after fifteen.
    const auto next = g.drawFrame(palette::DarkYellow);
    EXPECT_EQ(next[3].x1, -15);
    for (int i = 0; i < 14; ++i) g.drawFrame(0);
    EXPECT_EQ(g.gridOffset, 15);
}

TEST(GraphModel, FreePerMilleIsTheIntegerPart) {
    EXPECT_EQ(freePerMille(340, 1000), 340);
    EXPECT_EQ(freePerMille(3419, 10000), 341);
    EXPECT_EQ(freePerMille(1ULL << 30, 1ULL << 31), 500);
    EXPECT_EQ(freePerMille(5, 0), 0);
}

TEST(GraphModel, AtOneHundredPercentEachLineIsThePixelsTheSystemDraws) {
    // A bar from the bottom (1000 twips: pixel 66) up to 347 twips (pixel
    // 23) covers rows 24 to 66, its end point excluded; a grid line from the
    // top down to the bottom covers rows 0 to 65.
    const auto rects = graphPixels({{229 * 15, 1000, 229 * 15, 347, palette::Green},
                                    {-30, 0, -30, 1000, palette::DarkCyan},
                                    {0, 250, 3500, 250, palette::DarkCyan},
                                    {15, 500, 15, 500, palette::Red}},   // no length: nothing
                                   PixelSize{233, 67});
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0].rect, (PixelRect{229, 24, 230, 67}));
    EXPECT_EQ(rects[0].colour, palette::Green);
    EXPECT_EQ(rects[1].rect, (PixelRect{-2, 0, -1, 66}));
    EXPECT_EQ(rects[2].rect, (PixelRect{0, 16, 233, 17}));
}

TEST(GraphModel, AtEveryScalingTheSamplesSpreadOverTheBoxWithoutGaps) {
    for (int dpi : {96, 120, 144, 168, 192}) {
        GraphModel g;
        for (int i = 0; i < GraphModel::kSamples; ++i) g.pushSample(500, 900000);
        const int boxWidth = twipsToPixels(GraphModel::kWidth, dpi);
        const int boxHeight = twipsToPixels(GraphModel::kHeight, dpi);
        const auto rects = graphPixels(g.drawFrame(palette::DarkCyan), PixelSize{boxWidth, boxHeight});
        std::vector<PixelRect> bars;
        for (const auto& r : rects)
            if (r.colour == palette::Green) bars.push_back(r.rect);
        ASSERT_EQ(bars.size(), 229u) << dpi;
        // Newest first: each bar ends where the next newer one begins.
        for (std::size_t i = 1; i < bars.size(); ++i) EXPECT_EQ(bars[i].right, bars[i - 1].left) << dpi;
        EXPECT_GE(bars.front().right, boxWidth * 229 / 233 - 1) << dpi;
        EXPECT_LE(bars.front().right, boxWidth) << dpi;
        EXPECT_NEAR(bars.front().top, boxHeight / 2, dpi / 96 + 1) << dpi;
        EXPECT_GE(bars.front().bottom, boxHeight) << dpi;   // down to the box's last row
    }
}

TEST(WindowPlacement, TopRightCornerOfTheWorkArea) {
    EXPECT_EQ(statusWindowPosition(platform::Rect{0, 0, 1280, 1024}, 333), (PixelPoint{1280 - 333, 0}));
    EXPECT_EQ(statusWindowPosition(platform::Rect{1280, 40, 2560, 1400}, 660), (PixelPoint{2560 - 660, 40}));
    EXPECT_EQ(statusWindowPosition(std::nullopt, 333), (PixelPoint{-333, 0}));   // no monitor information
}

TEST(WindowPlacement, CentredAndKeptInsideTheWorkArea) {
    const platform::Rect work{0, 0, 1280, 984};
    EXPECT_EQ(centredPosition(work, 300, 200, work), (PixelPoint{490, 392}));
    // Centred on a window at the top-right corner: pushed back inside.
    EXPECT_EQ(centredPosition(platform::Rect{947, 0, 1280, 135}, 400, 200, work), (PixelPoint{880, 0}));
    EXPECT_EQ(centredPosition(platform::Rect{947, 0, 1280, 135}, 400, 200, std::nullopt), (PixelPoint{914, -32}));
}

} // namespace
} // namespace tidemark::monitor
