// The memory-allocation library (Ramhold.dll) as its callers see it: six
// operations, bound by name at first use. A start call returns at once; the
// work goes on inside the library while the caller polls the status calls.
#pragma once
#include <cstdint>
#include <string>

namespace tidemark::platform {

namespace slowstatus {
inline constexpr std::int32_t Idle = 0;
inline constexpr std::int32_t Claiming = 1;
inline constexpr std::int32_t Succeeded = 2;
inline constexpr std::int32_t Failed = 3;
inline constexpr std::int32_t Interrupted = 4;
} // namespace slowstatus

class AllocationLibrary {
public:
    virtual ~AllocationLibrary() = default;
    virtual void startFastClaim(std::int32_t sizeMB) = 0;
    virtual void startStepwiseClaim(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) = 0;
    virtual std::int32_t fastClaimStatus() = 0;
    virtual std::int32_t stepwiseClaimStatus() = 0;
    virtual std::int32_t memoryHeldStatus() = 0;
    virtual void requestBreak() = 0;
    // Why the library or one of its operations could not be bound; empty
    // while every call so far found what it needed. A missing operation
    // does nothing and reports 0.
    virtual std::string loadProblem() = 0;
};

} // namespace tidemark::platform
