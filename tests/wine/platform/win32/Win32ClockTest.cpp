// The clock backend: monotonic ticks, real sleeps, the local and the UTC time.
#include "platform/win32/Win32Clock.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

TEST(Win32Clock, SleepAdvancesTheMonotonicClock) {
    Win32Clock clock;
    const auto before = clock.monotonicMs();
    clock.sleepMs(60);
    const auto after = clock.monotonicMs();
    // Tick granularity is up to ~16 ms.
    EXPECT_GE(after - before, 40u);
    EXPECT_LT(after - before, 5000u);
}

TEST(Win32Clock, LocalTimeIsTheSystemsLocalTime) {
    Win32Clock clock;
    SYSTEMTIME before{};
    ::GetLocalTime(&before);
    const auto now = clock.localTime();
    SYSTEMTIME after{};
    ::GetLocalTime(&after);
    // Unless the test straddles midnight, the date matches.
    if (before.wDay == after.wDay) {
        EXPECT_EQ(now.year, before.wYear);
        EXPECT_EQ(now.month, before.wMonth);
        EXPECT_EQ(now.day, before.wDay);
        EXPECT_EQ(now.dayOfWeek, before.wDayOfWeek);
    }
    EXPECT_GE(now.hour, 0);
    EXPECT_LE(now.hour, 23);
    EXPECT_GE(now.minute, 0);
    EXPECT_LE(now.minute, 59);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    const int secondsBefore = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
    const int secondsNow = now.hour * 3600 + now.minute * 60 + now.second;
    const int secondsAfter = after.wHour * 3600 + after.wMinute * 60 + after.wSecond;
    if (before.wDay == after.wDay) {
        EXPECT_LE(secondsBefore, secondsNow);
        EXPECT_LE(secondsNow, secondsAfter);
    }
}

TEST(Win32Clock, UniversalTimeIsTheSystemTime) {
    Win32Clock clock;
    SYSTEMTIME before{};
    ::GetSystemTime(&before);
    const auto now = clock.universalTime();
    SYSTEMTIME after{};
    ::GetSystemTime(&after);
    // Unless the test straddles midnight UTC, the stamp lies between the two.
    if (before.wDay == after.wDay) {
        EXPECT_EQ(now.day, before.wDay);
        const int secondsBefore = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
        const int secondsNow = now.hour * 3600 + now.minute * 60 + now.second;
        const int secondsAfter = after.wHour * 3600 + after.wMinute * 60 + after.wSecond;
        EXPECT_LE(secondsBefore, secondsNow);
        EXPECT_LE(secondsNow, secondsAfter);
    }
}

} // namespace
} // namespace tidemark::win32
