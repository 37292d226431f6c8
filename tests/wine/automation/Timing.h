// Bounded waiting: every wait of the automation library ends by a deadline,
// so no test can hang on a window that never comes.
#pragma once
#include "platform/win32/WindowsApi.h"

namespace tidemark::automation {

// How often waits look again.
constexpr DWORD kPollIntervalMs = 50;
// What a single message to another program may take before it counts as hung.
constexpr UINT kMessageTimeoutMs = 2000;

class Deadline {
public:
    explicit Deadline(DWORD timeoutMs);
    bool expired() const;
    DWORD remainingMs() const;

private:
    ULONGLONG end_;
};

// Calls probe until it yields a value or the time is up; probes at least once.
template <typename Probe>
auto pollUntil(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
    const Deadline deadline(timeoutMs);
    for (;;) {
        auto result = probe();
        if (result) return result;
        if (deadline.expired()) return result;
        ::Sleep(deadline.remainingMs() < kPollIntervalMs ? deadline.remainingMs() : kPollIntervalMs);
    }
}

} // namespace tidemark::automation
