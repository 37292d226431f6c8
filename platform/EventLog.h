// The Windows event log as the suite reports to it: one event under the
// suite's source, with its type, its ID in the source's message table and
// the insertion strings that fill the message's %1, %2, ... A report never
// fails visibly: a log that cannot be reached loses the event, nothing else.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tidemark::platform {

enum class EventType { Information, Warning, Error };

class EventLog {
public:
    virtual ~EventLog() = default;
    virtual void report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) = 0;
};

} // namespace tidemark::platform
