// How many bytes a cleaning claims and in which steps, worked out from the
// callers' 32-bit arguments. Pure arithmetic in 64 bits: a size of
// INT32_MAX MB is 2^51 bytes and must neither wrap nor become a small claim.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tidemark::ramhold {

inline constexpr std::uint64_t kBytesPerMB = 1048576;
// What the monitor passes by default; also used when a caller passes a step
// of zero or less, which would otherwise never reach the size.
inline constexpr std::int32_t kDefaultStepBytes = 5242880;

struct CleaningPlan {
    std::uint64_t totalBytes = 0; // whole pages
    std::uint64_t stepBytes = 0;  // whole pages; the last step may be shorter
    std::uint64_t steps = 0;

    bool empty() const { return steps == 0; }
    // Bytes claimed by step `index` (0-based, below `steps`).
    std::uint64_t bytesOfStep(std::uint64_t index) const;
};

// A fast cleaning: everything in one step. Sizes of zero or less plan nothing.
CleaningPlan planFirst(std::int32_t sizeMB, std::size_t pageSize);

// A stepwise cleaning. The step is rounded up to whole pages and capped at
// the size, so a step larger than the size is one step of the whole size.
CleaningPlan planSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::size_t pageSize);

// The pause between steps; a negative pause is no pause.
std::chrono::milliseconds pauseOf(std::int32_t pauseMs);

} // namespace tidemark::ramhold
