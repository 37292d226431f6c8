// The system clock and sleep.
#pragma once
#include "platform/Clock.h"

namespace tidemark::win32 {

class Win32Clock final : public platform::Clock {
public:
    std::uint64_t monotonicMs() override;
    void sleepMs(std::uint32_t ms) override;
    platform::LocalTime localTime() override;
    platform::LocalTime universalTime() override;
};

} // namespace tidemark::win32
