// Locale backend: the user's short date and long time formats only.
#include "platform/win32/Win32LocaleFormat.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

SYSTEMTIME toSystemTime(const platform::LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.millisecond);
    return st;
}

} // namespace

std::string Win32LocaleFormat::shortDate(const platform::LocalTime& time) {
    const SYSTEMTIME st = toSystemTime(time);
    wchar_t buffer[128];
    if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128, nullptr) == 0)
        return std::to_string(time.year) + "/" + std::to_string(time.month) + "/" + std::to_string(time.day);
    return fromWideBuffer(buffer);
}

std::string Win32LocaleFormat::longTime(const platform::LocalTime& time) {
    const SYSTEMTIME st = toSystemTime(time);
    wchar_t buffer[128];
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128) == 0)
        return std::to_string(time.hour) + ":" + std::to_string(time.minute) + ":" + std::to_string(time.second);
    return fromWideBuffer(buffer);
}

} // namespace tidemark::win32
