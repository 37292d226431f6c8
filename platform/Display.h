// Monitor geometry, for placing windows at the top-right of the work area.
#pragma once
#include <cstdint>
#include <optional>

namespace tidemark::platform {

// An opaque native window handle (HWND on Windows); 0 = none.
using NativeWindow = std::uintptr_t;

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class Display {
public:
    virtual ~Display() = default;
    // Work area of the monitor nearest to the window; nullopt when the
    // system lacks the multi-monitor functions or the call fails.
    virtual std::optional<Rect> nearestMonitorWorkArea(NativeWindow window) = 0;
};

} // namespace tidemark::platform
