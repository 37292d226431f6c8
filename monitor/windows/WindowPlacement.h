// Where the status windows go: the top-right corner of the work area of
// the monitor nearest the main window.
#pragma once

namespace tidemark::monitor {

struct TwipsPoint {
    long left, top;
};

inline constexpr long kStatusWindowOffsetTwips = 4995;

// rightPx/topPx: the work area's right edge and top in pixels (0, 0 when
// unknown).
TwipsPoint statusWindowPosition(long rightPx, long topPx, int twipsPerPixelX, int twipsPerPixelY);

} // namespace tidemark::monitor
