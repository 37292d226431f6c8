#include "automation/Timing.h"

namespace tidemark::automation {

Deadline::Deadline(DWORD timeoutMs) : end_(::GetTickCount64() + timeoutMs) {}

bool Deadline::expired() const { return ::GetTickCount64() >= end_; }

DWORD Deadline::remainingMs() const {
    const ULONGLONG now = ::GetTickCount64();
    return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
}

} // namespace tidemark::automation
