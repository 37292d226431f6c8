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
    platform::LocalTime localTime() override;

    void advance(std::uint64_t ms) { nowMs_ += ms; }
    // Sets the wall-clock time that corresponds to the current instant.
    void setLocalTime(int year, int month, int day, int hour, int minute, int second);
    std::uint64_t sleepCalls() const { return sleepCalls_; }
    std::uint64_t sleptMs() const { return sleptMs_; }

private:
    std::uint64_t nowMs_ = 0;
    std::int64_t epochOffsetMs_ = 0;   // wall-clock ms since 1970 at monotonic 0
    std::uint64_t sleepCalls_ = 0;
    std::uint64_t sleptMs_ = 0;
};

} // namespace tidemark::sim
