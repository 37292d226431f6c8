// Twips (1/1440 inch) and pixels. Window geometry is given in twips and
// turned into pixels with the window's own DPI, as a rational number:
// never through an integer count of twips per pixel.
#pragma once
#include <cstdint>

namespace tidemark::monitor {

// a * b / c rounded half away from zero, as the system's MulDiv does.
constexpr int mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c == 0) return -1;
    const std::int64_t p = a * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t ap = p < 0 ? -p : p;
    const std::int64_t ac = c < 0 ? -c : c;
    const std::int64_t q = (ap + ac / 2) / ac;
    return static_cast<int>(negative ? -q : q);
}

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kBaseDpi = 96;   // 100 % scaling: 15 twips to the pixel

constexpr int twipsToPixels(std::int64_t twips, int dpi) { return mulDiv(twips, dpi, kTwipsPerInch); }

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, right, bottom;
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct PixelSize {
    int width, height;
};

// A control's rectangle in pixels: both edges converted, so neighbours that
// touch in twips touch in pixels at every DPI.
constexpr PixelRect toPixels(const TwipsRect& r, int dpi) {
    return {twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.left + r.width, dpi),
            twipsToPixels(r.top + r.height, dpi)};
}

namespace layout {
// A control of a window and its place in twips.
struct ControlPlace {
    int id;
    TwipsRect twips;
};
} // namespace layout

} // namespace tidemark::monitor
