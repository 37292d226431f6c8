// The Application log under the source "Tidemark": the source is opened at
// the first report and kept until the program ends.
#pragma once
#include "platform/EventLog.h"

namespace tidemark::win32 {

class Win32EventLog final : public platform::EventLog {
public:
    Win32EventLog() = default;
    ~Win32EventLog() override;
    Win32EventLog(const Win32EventLog&) = delete;
    Win32EventLog& operator=(const Win32EventLog&) = delete;

    void report(platform::EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) override;

private:
    void* source_ = nullptr;
    bool opened_ = false;
};

} // namespace tidemark::win32
