// Machine-wide named locks on kernel mutexes.
#pragma once
#include "platform/Locks.h"

#include <map>
#include <mutex>
#include <string_view>

#include "platform/win32/Handles.h"

namespace tidemark::win32 {

// The kernel object name a lock name maps to: in the global namespace,
// backslashes and colons replaced, case folded (lock names are often paths,
// which Windows compares without case), shortened with a hash when long.
std::string lockObjectName(std::string_view name);

// A hold must be released on the thread that acquired it: a mutex belongs to
// a thread. Acquiring again on the owning thread succeeds at once. Each
// mutex stays open once used, so that the next hold knows whether the lock
// was given back properly since (holds must not outlive their Win32Locks).
class Win32Locks final : public platform::Locks {
public:
    std::unique_ptr<platform::LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) override;

private:
    std::mutex guard_;
    std::map<std::wstring, UniqueKernelHandle> open_;
};

} // namespace tidemark::win32
