// Virtual time shared by every process of the simulated machine. Sleeping
// moves the clock forward at once.
#pragma once
#include <cstdint>
#include "platform/Clock.h"

namespace tidemark::sim {

class SimClock final : public platform::Clock {
public:
    SimClock();
    std::uint64_t monotonicMs() override { return nowMs_; }
    void sleepMs(std::uint32_t ms) override;
    // In the machine's time zone.
    platform::LocalTime localTime() override { return timeInZone(zoneMinutes_); }
    platform::LocalTime universalTime() override { return timeInZone(0); }
    // The current instant in a zone the given minutes ahead of UTC.
    platform::LocalTime timeInZone(int minutesAheadOfUtc) const;

    void advance(std::uint64_t ms) { nowMs_ += ms; }
    // Sets the machine's wall-clock time that corresponds to the current instant.
    void setLocalTime(int year, int month, int day, int hour, int minute, int second);
    // The machine's time zone (UTC unless set), kept by processes without
    // a zone of their own; the instant stays where it is.
    void setTimeZone(int minutesAheadOfUtc) { zoneMinutes_ = minutesAheadOfUtc; }
    int timeZone() const { return zoneMinutes_; }
    std::uint64_t sleepCalls() const { return sleepCalls_; }
    std::uint64_t sleptMs() const { return sleptMs_; }

private:
    std::uint64_t nowMs_ = 0;
    std::int64_t epochOffsetMs_ = 0;   // UTC ms since 1970 at monotonic 0
    int zoneMinutes_ = 0;
    std::uint64_t sleepCalls_ = 0;
    std::uint64_t sleptMs_ = 0;
};

} // namespace tidemark::sim
