#include "platform/sim/SimClock.h"

namespace tidemark::sim {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

} // namespace

SimClock::SimClock() { setLocalTime(2026, 12, 7, 9, 0, 0); }

void SimClock::sleepMs(std::uint32_t ms) {
    ++sleepCalls_;
    sleptMs_ += ms;
    nowMs_ += ms;
}

void SimClock::setLocalTime(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t wall =
        ((daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 24 + hour) * 60 + minute) * 60000LL +
        second * 1000LL;
    epochOffsetMs_ = wall - zoneMinutes_ * 60000LL - static_cast<std::int64_t>(nowMs_);
}

platform::LocalTime SimClock::timeInZone(int minutesAheadOfUtc) const {
    const std::int64_t wall = epochOffsetMs_ + static_cast<std::int64_t>(nowMs_) + minutesAheadOfUtc * 60000LL;
    const std::int64_t days = wall / 86400000LL;
    std::int64_t rest = wall % 86400000LL;
    platform::LocalTime t;
    civilFromDays(days, t.year, t.month, t.day);
    t.dayOfWeek = static_cast<int>((days + 4) % 7);   // 1970-01-01 was a Thursday
    t.hour = static_cast<int>(rest / 3600000); rest %= 3600000;
    t.minute = static_cast<int>(rest / 60000); rest %= 60000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

} // namespace tidemark::sim
