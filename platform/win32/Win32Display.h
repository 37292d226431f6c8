// Monitor work areas, the high-contrast setting and the system's colours.
#pragma once
#include "platform/Display.h"

namespace tidemark::win32 {

class Win32Display final : public platform::Display {
public:
    std::optional<platform::Rect> nearestMonitorWorkArea(platform::NativeWindow window) override;
    platform::ColourScheme colourScheme() override;
};

} // namespace tidemark::win32
