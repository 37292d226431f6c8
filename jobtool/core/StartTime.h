// When a task is to start: the calendar rules of the add action (the next
// minute, a time of day today or tomorrow, the next calendar day) and the
// strict reading of a time word.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include "platform/Clock.h"

namespace tidemark::jobtool {

struct StartTime {
    std::uint16_t year = 0, month = 0, day = 0;
    std::uint16_t hour = 0, minute = 0;
    bool operator==(const StartTime& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour && minute == o.minute;
    }
};

struct TimeOfDay {
    std::uint16_t hour = 0, minute = 0;
};

bool isGregorianLeapYear(int year);
int daysInMonth(int year, int month);
// The same time on the next calendar day.
StartTime nextCalendarDay(StartTime t);
// The beginning of the minute after now (seconds dropped). With
// minimumLeadSeconds, a minute that would begin sooner than that is passed
// over for the one after it.
StartTime nextMinute(const platform::LocalTime& now, int minimumLeadSeconds = 0);
// A time of day: today, or tomorrow when it is earlier than now's hour and
// minute (the current minute itself stays today).
StartTime startAtTimeOfDay(TimeOfDay time, const platform::LocalTime& now);

struct TimeWordReading {
    std::optional<TimeOfDay> time;
    std::string errorLine;   // the console line that refuses the word
};
// "H:MM" or "HH:MM" in 24-hour form, digits only.
TimeWordReading readTimeWord(const std::string& word);

} // namespace tidemark::jobtool
