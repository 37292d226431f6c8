// Locks between processes (and between users of one machine).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace tidemark::platform {

// Held while alive. A holder that dies releases it (the next owner is told
// nothing more: a killed writer leaves no half-written file to care about).
class LockHold {
public:
    virtual ~LockHold() = default;
};

class Locks {
public:
    virtual ~Locks() = default;
    // Waits up to timeoutMs for the machine-wide lock of that name, which
    // every account may open. nullptr on time-out or failure.
    virtual std::unique_ptr<LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) = 0;
};

} // namespace tidemark::platform
