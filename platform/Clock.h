// Time and waiting. Every pause and poll in the suite goes through here, so
// the simulated machine can run a 25-second retry loop in microseconds.
#pragma once
#include <cstdint>

namespace tidemark::platform {

// A calendar time: in the session's own time zone (localTime) or in UTC
// (universalTime).
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
    // The time of day in this session's time zone: for what people read.
    virtual LocalTime localTime() = 0;
    // The same instant in UTC, one clock for the whole machine: for stamps
    // that processes of other sessions compare, since a terminal server's
    // sessions may each have their own time zone.
    virtual LocalTime universalTime() = 0;
};

} // namespace tidemark::platform
