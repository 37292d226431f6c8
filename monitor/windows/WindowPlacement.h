// Where the status windows go: the top-right corner of the work area of
// the monitor nearest the main window; and where the About window goes.
#pragma once
#include <optional>

#include "monitor/windows/Twips.h"
#include "platform/Display.h"

namespace tidemark::monitor {

struct PixelPoint {
    int left, top;
    bool operator==(const PixelPoint& o) const { return left == o.left && top == o.top; }
};

inline constexpr long kStatusWindowOffsetTwips = 4995;

// The work area's right edge less 4995 twips at the window's DPI; its top,
// or 0 when it is 0 or unknown. Without monitor information: -4995 twips, 0.
PixelPoint statusWindowPosition(const std::optional<platform::Rect>& workArea, int dpi);

// A window of the given size centred on a rectangle and then kept inside
// the work area (when one is known).
PixelPoint centredPosition(const platform::Rect& on, int width, int height,
                           const std::optional<platform::Rect>& workArea);

} // namespace tidemark::monitor
