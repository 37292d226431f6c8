// Monitor geometry, for placing windows at the top-right of the work area,
// and the colours a program draws its own pictures in.
#pragma once
#include <cstdint>
#include <optional>

namespace tidemark::platform {

// An opaque native window handle (HWND on Windows); 0 = none.
using NativeWindow = std::uintptr_t;

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The system's colours a picture drawn by the program itself takes under a
// high-contrast theme, each as 0xRRGGBB.
struct SystemColours {
    std::uint32_t window = 0xFFFFFF;       // a window's background
    std::uint32_t windowText = 0x000000;   // text on it
    std::uint32_t grayText = 0x808080;     // text that recedes
    std::uint32_t highlight = 0x0078D7;    // what is singled out
};

struct ColourScheme {
    bool highContrast = false;   // a high-contrast theme is on
    SystemColours system;
};

class Display {
public:
    virtual ~Display() = default;
    // Work area of the monitor nearest to the window; nullopt when the
    // system lacks the multi-monitor functions or the call fails.
    virtual std::optional<Rect> nearestMonitorWorkArea(NativeWindow window) = 0;
    // Whether a high-contrast theme is on, and the system's colours now.
    virtual ColourScheme colourScheme() = 0;
};

} // namespace tidemark::platform
