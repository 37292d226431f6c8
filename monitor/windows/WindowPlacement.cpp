#include "monitor/windows/WindowPlacement.h"

#include <algorithm>

namespace tidemark::monitor {

PixelPoint statusWindowPosition(const std::optional<platform::Rect>& workArea, int windowWidth) {
    if (!workArea) return {-windowWidth, 0};
    return {workArea->right - windowWidth, workArea->top};
}

PixelPoint centredPosition(const platform::Rect& on, int width, int height,
                           const std::optional<platform::Rect>& workArea) {
    PixelPoint at{on.left + (on.right - on.left - width) / 2, on.top + (on.bottom - on.top - height) / 2};
    if (workArea) {
        at.left = std::max(workArea->left, std::min(at.left, workArea->right - width));
        at.top = std::max(workArea->top, std::min(at.top, workArea->bottom - height));
    }
    return at;
}

} // namespace tidemark::monitor
