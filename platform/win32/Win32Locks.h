// Machine-wide named locks on kernel mutexes.
#pragma once
#include "platform/Locks.h"

#include <string_view>

namespace tidemark::win32 {

// The kernel object name a lock name maps to: in the global namespace,
// backslashes and colons replaced, case folded (lock names are often paths,
// which Windows compares without case), shortened with a hash when long.
std::string lockObjectName(std::string_view name);

// A hold must be released on the thread that acquired it: a mutex belongs to
// a thread. Acquiring again on the owning thread succeeds at once.
class Win32Locks final : public platform::Locks {
public:
    std::unique_ptr<platform::LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) override;
};

} // namespace tidemark::win32
