#include "ramhold/CleaningPlan.h"

namespace tidemark::ramhold {
namespace {

// `value` and `unit` are far below 2^63 here (at most 2^51 and a page size),
// so the sum cannot wrap.
std::uint64_t roundUpTo(std::uint64_t value, std::uint64_t unit) {
    return (value + unit - 1) / unit * unit;
}

std::uint64_t totalOf(std::int32_t sizeMB, std::size_t pageSize) {
    if (sizeMB <= 0 || pageSize == 0) return 0;
    return roundUpTo(static_cast<std::uint64_t>(sizeMB) * kBytesPerMB, pageSize);
}

} // namespace

std::uint64_t CleaningPlan::bytesOfStep(std::uint64_t index) const {
    if (index >= steps) return 0;
    const std::uint64_t before = index * stepBytes;
    const std::uint64_t left = totalBytes - before;
    return left < stepBytes ? left : stepBytes;
}

CleaningPlan planFirst(std::int32_t sizeMB, std::size_t pageSize) {
    CleaningPlan plan;
    plan.totalBytes = totalOf(sizeMB, pageSize);
    if (plan.totalBytes == 0) return plan;
    plan.stepBytes = plan.totalBytes;
    plan.steps = 1;
    return plan;
}

CleaningPlan planSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::size_t pageSize) {
    CleaningPlan plan;
    plan.totalBytes = totalOf(sizeMB, pageSize);
    if (plan.totalBytes == 0) return plan;
    const std::int32_t asked = stepBytes > 0 ? stepBytes : kDefaultStepBytes;
    std::uint64_t step = roundUpTo(static_cast<std::uint64_t>(asked), pageSize);
    if (step > plan.totalBytes) step = plan.totalBytes;
    plan.stepBytes = step;
    plan.steps = (plan.totalBytes + step - 1) / step;
    return plan;
}

std::chrono::milliseconds pauseOf(std::int32_t pauseMs) {
    return std::chrono::milliseconds(pauseMs > 0 ? pauseMs : 0);
}

} // namespace tidemark::ramhold
