// Time and waiting. Every pause and poll in the suite goes through here, so
// the simulated machine can run a 25-second retry loop in microseconds.
#pragma once
#include <cstdint>

namespace tidemark::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;          // month 1-12, day 1-31
    int hour = 0, minute = 0, second = 0;
    int millisecond = 0;
    int dayOfWeek = 0;                          // 0 = Sunday
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::uint64_t monotonicMs() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
    virtual LocalTime localTime() = 0;
};

} // namespace tidemark::platform
