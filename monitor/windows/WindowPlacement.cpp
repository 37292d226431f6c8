#include "monitor/windows/WindowPlacement.h"

namespace tidemark::monitor {

TwipsPoint statusWindowPosition(long rightPx, long topPx, int twipsPerPixelX, int twipsPerPixelY) {
    return {rightPx * twipsPerPixelX - kStatusWindowOffsetTwips, topPx == 0 ? 0 : topPx * twipsPerPixelY};
}

} // namespace tidemark::monitor
