#include "shared/cleaner/CleaningCycle.h"

#include <algorithm>

namespace tidemark::cleaner {
namespace {

// Minute ticks come a little early or late: a wait ends half a minute before
// its minute, so that the tick of that minute cleans.
constexpr std::uint64_t kTickSlackMs = 30000;

} // namespace

void CleaningCycle::begin(const CleaningStart& start) {
    running_ = start;
    brokenOff_ = false;
}

std::optional<CleaningResult> CleaningCycle::finish(bool libraryHoldsMemory, bool interrupted,
                                                    std::uint64_t freeAfterBytes, std::uint64_t nowMs,
                                                    std::int64_t triggerBytes) {
    if (!running_ || libraryHoldsMemory) return std::nullopt;
    const CleaningStart start = *running_;
    running_.reset();
    CleaningResult r;
    r.started = start.atUtc;
    r.reason = start.reason;
    r.mode = start.mode;
    r.sizeMB = start.sizeMB;
    r.freeBeforeBytes = start.freeBeforeBytes;
    r.freeAfterBytes = freeAfterBytes;
    r.durationMs = nowMs >= start.atMs ? static_cast<std::int64_t>(nowMs - start.atMs) : 0;
    r.end = brokenOff_ || interrupted ? CleaningEnd::BrokenOff : CleaningEnd::Done;
    afterCleaning(helped(freeAfterBytes, triggerBytes), start, r);
    return r;
}

CleaningResult CleaningCycle::notRun(const CleaningStart& start, std::int64_t triggerBytes) {
    CleaningResult r;
    r.started = start.atUtc;
    r.reason = start.reason;
    r.mode = start.mode;
    r.sizeMB = start.sizeMB;
    r.freeBeforeBytes = r.freeAfterBytes = start.freeBeforeBytes;
    r.end = CleaningEnd::NotRun;
    afterCleaning(helped(start.freeBeforeBytes, triggerBytes), start, r);
    return r;
}

void CleaningCycle::afterCleaning(bool didHelp, const CleaningStart& start, CleaningResult& result) {
    if (didHelp) {
        memoryPlentiful();
        return;
    }
    ++unhelpfulInARow_;
    // 2, 4, 8, 16, then 30 minutes (the shift is bounded before it can overflow).
    const int doubled = kFirstWaitMinutes << std::min(unhelpfulInARow_ - 1, 5);
    waitMinutes_ = std::min(doubled, kLongestWaitMinutes);
    const std::uint64_t waitMs = static_cast<std::uint64_t>(waitMinutes_) * 60000;
    waitUntilMs_ = start.atMs + waitMs - kTickSlackMs;
    nextUtc_ = addMinutes(start.atUtc, waitMinutes_);
    result.nextAttempt = nextUtc_;
}

void CleaningCycle::memoryPlentiful() {
    unhelpfulInARow_ = 0;
    waitMinutes_ = 0;
    waitUntilMs_.reset();
    nextUtc_.reset();
}

void CleaningCycle::reset() {
    memoryPlentiful();
    running_.reset();
    brokenOff_ = false;
}

} // namespace tidemark::cleaner
