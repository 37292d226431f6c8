// Where the status windows go: the top-right corner of the work area of
// the monitor nearest the main window; and where the About window goes.
#pragma once
#include <optional>

#include "shared/ui/Twips.h"
#include "platform/Display.h"

namespace tidemark::monitor {

struct PixelPoint {
    int left, top;
    bool operator==(const PixelPoint& o) const { return left == o.left && top == o.top; }
};

// The window's right edge on the work area's right edge, its top on the
// work area's top. (The 4995 twips the window is wide at 100 % are its
// 4905-twip client area and a frame whose thickness need not follow the
// DPI: the window's own width keeps it in the corner at every scaling.)
// Without monitor information: left of the screen by its width, at 0.
PixelPoint statusWindowPosition(const std::optional<platform::Rect>& workArea, int windowWidth);

// A window of the given size centred on a rectangle and then kept inside
// the work area (when one is known).
PixelPoint centredPosition(const platform::Rect& on, int width, int height,
                           const std::optional<platform::Rect>& workArea);

} // namespace tidemark::monitor
