#include "platform/win32/Win32EventLog.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

constexpr const wchar_t* kSourceName = L"Tidemark";

WORD eventTypeOf(platform::EventType type) {
    switch (type) {
    case platform::EventType::Warning: return EVENTLOG_WARNING_TYPE;
    case platform::EventType::Error: return EVENTLOG_ERROR_TYPE;
    default: return EVENTLOG_INFORMATION_TYPE;
    }
}

} // namespace

Win32EventLog::~Win32EventLog() {
    if (source_) ::DeregisterEventSource(static_cast<HANDLE>(source_));
}

void Win32EventLog::report(platform::EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) {
    // An unregistered source still opens (the log then shows the strings
    // without their sentence); a log that cannot be opened at all is not
    // tried again for every event.
    if (!opened_) {
        opened_ = true;
        source_ = ::RegisterEventSourceW(nullptr, kSourceName);
    }
    if (!source_) return;
    std::vector<std::wstring> wide;
    wide.reserve(strings.size());
    for (const std::string& s : strings) wide.push_back(toWide(s));
    std::vector<LPCWSTR> pointers;
    pointers.reserve(wide.size());
    for (const std::wstring& w : wide) pointers.push_back(w.c_str());
    ::ReportEventW(static_cast<HANDLE>(source_), eventTypeOf(type), 0, static_cast<DWORD>(eventId), nullptr,
                   static_cast<WORD>(pointers.size()), 0, pointers.empty() ? nullptr : pointers.data(), nullptr);
}

} // namespace tidemark::win32
