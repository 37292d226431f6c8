// The graph of the last 230 seconds of memory use: samples, their colours,
// the drifting grid, and the lines that draw them (in twips of the 3500 x
// 1000 graph box, one pixel being the 15 twips of 100 % scaling); and those
// lines as the device pixels that draw them in a box of any DPI; the colours
// they take in the normal theme and under a high-contrast one.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "platform/Display.h"
#include "shared/ui/Twips.h"

namespace tidemark::monitor {

// Indexes of the classic 16-colour palette.
namespace palette {
inline constexpr int Black = 0, DarkBlue = 1, DarkCyan = 3, DarkRed = 4, DarkYellow = 6, Blue = 9, Green = 10,
                     Red = 12, Yellow = 14;
// Red, green, blue of a palette index (the indexes above; others black).
std::uint32_t rgb(int index);
} // namespace palette

// What each palette index of the graph draws in, as 0xRRGGBB.
using GraphColours = std::array<std::uint32_t, 16>;

// The palette's own colours; under a high-contrast theme the system's
// instead: the background (black) in the window's colour, the samples of
// plenty (dark blue, blue, green) in its text's, the grid (dark cyan, dark
// yellow, dark red) in gray text's and the samples of the yellow and red
// bands in the highlight's.
GraphColours graphColours(const platform::ColourScheme& scheme);

struct GraphLine {
    int x1, y1, x2, y2;   // twips
    int colour;           // palette index
};

class GraphModel {
public:
    static constexpr int kSamples = 230;
    static constexpr int kWidth = 3500, kHeight = 1000;
    // The graph is drawn on the pixels of 100 % scaling and magnified to the
    // box, so that its samples and grid fill the box at every scaling.
    static constexpr int kTwipsPerPixel = kTwipsPerInch / kBaseDpi;

    GraphModel();

    // Stores the free per mille as the newest sample with its colour, shifts
    // the history by one and returns the grid colour.
    int pushSample(std::int32_t freePerMille, std::uint64_t availKB);
    // The lines of one frame; moves the grid one pixel to the left.
    std::vector<GraphLine> drawFrame(int gridColour);

    std::array<std::int32_t, kSamples> samples;
    std::array<std::int32_t, kSamples> colours;
    std::int32_t gridOffset = 0;   // twips
};

struct GraphRect {
    PixelRect rect;
    int colour;   // palette index
};

// The pixels each line covers when drawn one pixel wide at 100 % (twips to
// pixels with the fraction dropped; the line's end point excluded, as the
// system draws lines), stretched from the 3500 x 1000 twips of the box to
// the box's size in device pixels. At 100 % (a box of 233 x 67 pixels) the
// pixels are the 100 % ones unchanged.
std::vector<GraphRect> graphPixels(const std::vector<GraphLine>& lines, PixelSize box);

// Free memory in per mille of the total (integer part).
std::int32_t freePerMille(std::uint64_t availPhys, std::uint64_t totalPhys);

} // namespace tidemark::monitor
