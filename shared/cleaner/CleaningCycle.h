// One holder's cleanings from start to result, and the wait between
// automatic cleanings that do not help. A cleaning "did not help" when,
// once it ended, free memory was still at or below the trigger: the next
// automatic cleaning then waits 2 minutes, and each further one that did
// not help doubles the wait up to 30 minutes. Free memory above the trigger
// at a tick, or a cleaning that helped, brings back a cleaning every
// minute. Tidemark and Corvid keep one each while they hold the right.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "shared/cleaner/CleaningResult.h"

namespace tidemark::cleaner {

inline constexpr int kFirstWaitMinutes = 2;
inline constexpr int kLongestWaitMinutes = 30;

struct CleaningStart {
    CleaningReason reason = CleaningReason::Trigger;
    std::int32_t mode = 0;
    std::int32_t sizeMB = 0;
    std::uint64_t freeBeforeBytes = 0;
    std::uint64_t atMs = 0;                // the monotonic clock
    UtcMinute atUtc;
};

class CleaningCycle {
public:
    // Whether an automatic cleaning may start at this moment.
    bool automaticAllowed(std::uint64_t nowMs) const { return !waitUntilMs_ || nowMs >= *waitUntilMs_; }
    // The minute from which the next automatic cleaning may run, while a
    // wait holds it back.
    std::optional<UtcMinute> nextAttempt() const { return waiting() ? nextUtc_ : std::nullopt; }
    bool waiting() const { return waitUntilMs_.has_value(); }
    int waitMinutes() const { return waitMinutes_; }

    // A cleaning the allocation library took on.
    void begin(const CleaningStart& start);
    bool running() const { return running_.has_value(); }
    // This copy asked the library to break its cleaning off.
    void breakRequested() { brokenOff_ = true; }
    // While running: nullopt as long as the library holds memory; then the
    // result, with the wait moved on. interrupted: the library reports a
    // stepwise cleaning broken off.
    std::optional<CleaningResult> finish(bool libraryHoldsMemory, bool interrupted, std::uint64_t freeAfterBytes,
                                         std::uint64_t nowMs, std::int64_t triggerBytes);
    // A cleaning the library could not run: its result at once, counted as
    // one that did not help.
    CleaningResult notRun(const CleaningStart& start, std::int64_t triggerBytes);
    // Free memory above the trigger at a tick.
    void memoryPlentiful();
    // The right changed hands: a new holder starts at every minute, and a
    // cleaning under way is no longer this copy's to report.
    void reset();

private:
    void afterCleaning(bool helped, const CleaningStart& start, CleaningResult& result);

    std::optional<CleaningStart> running_;
    bool brokenOff_ = false;
    int unhelpfulInARow_ = 0;
    int waitMinutes_ = 0;
    std::optional<std::uint64_t> waitUntilMs_;
    std::optional<UtcMinute> nextUtc_;
};

// Whether a cleaning that ended with this much free memory helped.
inline bool helped(std::uint64_t freeAfterBytes, std::int64_t triggerBytes) {
    return triggerBytes < 0 || freeAfterBytes > static_cast<std::uint64_t>(triggerBytes);
}

} // namespace tidemark::cleaner
