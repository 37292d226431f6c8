// Clock backend: tick count, Sleep and the wall-clock time only.
#include "platform/win32/Win32Clock.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

platform::LocalTime fromSystemTime(const SYSTEMTIME& st) {
    platform::LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    t.dayOfWeek = st.wDayOfWeek;
    return t;
}

} // namespace

std::uint64_t Win32Clock::monotonicMs() {
    return ::GetTickCount64();
}

void Win32Clock::sleepMs(std::uint32_t ms) {
    ::Sleep(ms);
}

platform::LocalTime Win32Clock::localTime() {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return fromSystemTime(st);
}

platform::LocalTime Win32Clock::universalTime() {
    SYSTEMTIME st{};
    ::GetSystemTime(&st);
    return fromSystemTime(st);
}

} // namespace tidemark::win32
