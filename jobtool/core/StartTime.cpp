#include "jobtool/core/StartTime.h"

#include "jobtool/core/JobsmithTexts.h"
#include "platform/TextConversion.h"

namespace tidemark::jobtool {
namespace {

StartTime dateOf(const platform::LocalTime& now) {
    StartTime t;
    t.year = static_cast<std::uint16_t>(now.year);
    t.month = static_cast<std::uint16_t>(now.month);
    t.day = static_cast<std::uint16_t>(now.day);
    t.hour = static_cast<std::uint16_t>(now.hour);
    t.minute = static_cast<std::uint16_t>(now.minute);
    return t;
}

StartTime plusOneMinute(StartTime t) {
    if (t.minute + 1 <= 59) {
        ++t.minute;
        return t;
    }
    t.minute = 0;
    if (t.hour + 1 <= 23) {
        ++t.hour;
        return t;
    }
    t.hour = 0;
    return nextCalendarDay(t);
}

bool allDigits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

} // namespace

bool isGregorianLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return isGregorianLeapYear(year) ? 29 : 28;
    default: return 31;
    }
}

StartTime nextCalendarDay(StartTime t) {
    if (t.day + 1 <= daysInMonth(t.year, t.month)) {
        ++t.day;
        return t;
    }
    t.day = 1;
    if (t.month + 1 <= 12) {
        ++t.month;
        return t;
    }
    t.month = 1;
    ++t.year;
    return t;
}

StartTime nextMinute(const platform::LocalTime& now, int minimumLeadSeconds) {
    StartTime t = plusOneMinute(dateOf(now));
    if (60 - now.second < minimumLeadSeconds) t = plusOneMinute(t);
    return t;
}

StartTime startAtTimeOfDay(TimeOfDay time, const platform::LocalTime& now) {
    StartTime t = dateOf(now);
    if (time.hour < now.hour || (time.hour == now.hour && time.minute < now.minute)) t = nextCalendarDay(t);
    t.hour = time.hour;
    t.minute = time.minute;
    return t;
}

TimeWordReading readTimeWord(const std::string& word) {
    TimeWordReading r;
    const std::size_t units = platform::utf8ToUtf16(word).size();
    if (units != 4 && units != 5) {
        r.errorLine = text::kTimeLengthError;
        return r;
    }
    const auto colon = word.find(':');
    if (colon == std::string::npos || colon > 2) {
        r.errorLine = text::kHourPartError;
        return r;
    }
    const std::string hour = word.substr(0, colon), minute = word.substr(colon + 1);
    if (!allDigits(hour)) {
        r.errorLine = text::kHourPartError;
        return r;
    }
    if (!allDigits(minute) || minute.size() != 2 || std::stoi(minute) > 59) {
        r.errorLine = text::kMinuteRangeError;
        return r;
    }
    if (std::stoi(hour) > 23) {
        r.errorLine = text::kHourRangeError;
        return r;
    }
    r.time = TimeOfDay{static_cast<std::uint16_t>(std::stoi(hour)), static_cast<std::uint16_t>(std::stoi(minute))};
    return r;
}

} // namespace tidemark::jobtool
