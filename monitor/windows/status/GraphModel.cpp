#include "monitor/windows/status/GraphModel.h"

#include <utility>

namespace tidemark::monitor {

std::uint32_t palette::rgb(int index) {
    switch (index) {
    case DarkBlue: return 0x000080;
    case DarkCyan: return 0x008080;
    case DarkRed: return 0x800000;
    case DarkYellow: return 0x808000;
    case Blue: return 0x0000FF;
    case Green: return 0x00FF00;
    case Red: return 0xFF0000;
    case Yellow: return 0xFFFF00;
    default: return 0x000000;
    }
}

GraphColours graphColours(const platform::ColourScheme& scheme) {
    GraphColours colours{};
    const platform::SystemColours& system = scheme.system;
    for (int index = 0; index < static_cast<int>(colours.size()); ++index) {
        if (!scheme.highContrast) {
            colours[index] = palette::rgb(index);
            continue;
        }
        switch (index) {
        case palette::Black: colours[index] = system.window; break;
        case palette::DarkCyan:
        case palette::DarkYellow:
        case palette::DarkRed: colours[index] = system.grayText; break;
        case palette::Yellow:
        case palette::Red: colours[index] = system.highlight; break;
        default: colours[index] = system.windowText; break;
        }
    }
    return colours;
}

GraphModel::GraphModel() {
    samples.fill(1000);
    colours.fill(palette::Black);
}

int GraphModel::pushSample(std::int32_t value, std::uint64_t availKB) {
    constexpr int last = kSamples - 1;
    samples[last] = value;
    int grid = palette::Black;
    if (value >= 801 && value <= 1000) {
        colours[last] = palette::DarkBlue;
        grid = palette::DarkCyan;
    } else if (value >= 501 && value <= 800) {
        colours[last] = palette::Blue;
        grid = palette::DarkCyan;
    } else if (value >= 341 && value <= 500) {
        colours[last] = palette::Green;
        grid = palette::DarkCyan;
    } else if (value >= 0 && value <= 340) {
        const bool scarce = availKB < 51200;
        colours[last] = scarce ? palette::Red : palette::Yellow;
        grid = scarce ? palette::DarkRed : palette::DarkYellow;
    }
    for (int i = 0; i < last; ++i) {
        samples[i] = samples[i + 1];
        colours[i] = colours[i + 1];
    }
    return grid;
}

std::vector<GraphLine> GraphModel::drawFrame(int gridColour) {
    constexpr int twipsPerPixel = kTwipsPerPixel;
    std::vector<GraphLine> lines;
    for (int y : {250, 500, 750}) lines.push_back({0, y, kWidth, y, gridColour});
    const int step = 15 * twipsPerPixel;
    for (int d = 0; d <= 16; ++d) {
        const int x = step * d - gridOffset;
        lines.push_back({x, 0, x, kHeight, gridColour});
        if (gridOffset >= step) gridOffset = 0;
    }
    gridOffset += twipsPerPixel;
    for (int j = kSamples - 1; j >= 1; --j) {
        const int x = j * twipsPerPixel;
        lines.push_back({x, kHeight, x, samples[j], colours[j]});
    }
    return lines;
}

std::vector<GraphRect> graphPixels(const std::vector<GraphLine>& lines, PixelSize box) {
    // Twips to the pixels of 100 %, the fraction dropped.
    const auto at100 = [](int twips) {
        return twips >= 0 ? twips / GraphModel::kTwipsPerPixel
                            : -((-twips + GraphModel::kTwipsPerPixel - 1) / GraphModel::kTwipsPerPixel);
    };
    const auto column = [&](int pixel) {
        return mulDiv(static_cast<std::int64_t>(pixel) * GraphModel::kTwipsPerPixel, box.width, GraphModel::kWidth);
    };
    const auto row = [&](int pixel) {
        return mulDiv(static_cast<std::int64_t>(pixel) * GraphModel::kTwipsPerPixel, box.height, GraphModel::kHeight);
    };
    // The pixels [from, to) a line runs over along one axis, its end excluded.
    const auto span = [](int from, int to) { return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1}; };
    std::vector<GraphRect> rects;
    rects.reserve(lines.size());
    for (const GraphLine& l : lines) {
        const int x1 = at100(l.x1), y1 = at100(l.y1), x2 = at100(l.x2), y2 = at100(l.y2);
        std::pair<int, int> columns, rows;
        if (x1 == x2 && y1 != y2) {
            columns = {x1, x1 + 1};
            rows = span(y1, y2);
        } else if (y1 == y2 && x1 != x2) {
            rows = {y1, y1 + 1};
            columns = span(x1, x2);
        } else {
            continue;   // no length, or not along an axis: the graph draws neither
        }
        rects.push_back({{column(columns.first), row(rows.first), column(columns.second), row(rows.second)}, l.colour});
    }
    return rects;
}

std::int32_t freePerMille(std::uint64_t availPhys, std::uint64_t totalPhys) {
    if (totalPhys < 1000) return 0;
    return static_cast<std::int32_t>(static_cast<double>(availPhys) / (static_cast<double>(totalPhys) / 1000.0));
}

} // namespace tidemark::monitor
