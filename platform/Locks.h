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
    // False only when the lock is known to have been given back properly
    // since it was last taken: its previous holder released it, and it was
    // not new to every process. True when its last holder died holding it,
    // or when no process had it before (one may have died with the machine).
    virtual bool mayFollowADeadHolder() const { return true; }
};

class Locks {
public:
    virtual ~Locks() = default;
    // Waits up to timeoutMs for the machine-wide lock of that name, which
    // every account may open. nullptr on time-out or failure.
    virtual std::unique_ptr<LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) = 0;
};

} // namespace tidemark::platform
