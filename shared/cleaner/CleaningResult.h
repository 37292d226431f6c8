// What one cleaning did: why and how it ran, free physical memory before
// and after it, how long it took and how it ended. The holder of the right
// keeps it in the shared file beside "ShExTime", so that every user's copy
// shows the machine's last cleaning; the event log gets it field by field.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tidemark::cleaner {

// Free memory at or below the trigger; the clean-now command; the cleaning
// a program makes as it starts, whatever the memory.
enum class CleaningReason { Trigger, Manual, Startup };
enum class CleaningEnd {
    Done,
    BrokenOff,   // memory became plentiful, a watched program started, or the right went elsewhere
    NotRun,      // the allocation library could not be used
};

// An hour and minute of the day in UTC (sessions may have their own time
// zones, so the file never holds a local time of day).
struct UtcMinute {
    int hour = 0, minute = 0;
    bool operator==(const UtcMinute& o) const { return hour == o.hour && minute == o.minute; }
};

struct CleaningResult {
    UtcMinute started;
    CleaningReason reason = CleaningReason::Trigger;
    std::int32_t mode = 0;                 // 0 First, 1 Slow
    std::int32_t sizeMB = 0;
    std::uint64_t freeBeforeBytes = 0, freeAfterBytes = 0;
    std::int64_t durationMs = 0;
    CleaningEnd end = CleaningEnd::Done;
    // Set when free memory was still at or below the trigger afterwards:
    // the next automatic cleaning waits until then.
    std::optional<UtcMinute> nextAttempt;

    // Free memory after less before, in whole MB toward zero: negative when
    // other programs took more than the cleaning gave back.
    std::int64_t freedMB() const;
};

// The result as one value of the settings file:
// "HHMM,<reason>,<mode>,<size MB>,<free before MB>,<free after MB>,
//  <duration ms>,<end>,<next HHMM or empty>" with the reason "トリガー",
// "手動" or "起動時", the mode "First" or "Slow" and the end "Done", "BrokenOff" or
// "NotRun". A value that does not read back as a whole result is nullopt.
std::string resultValue(const CleaningResult& result);
std::optional<CleaningResult> parseResultValue(const std::string& value);

const char* reasonText(CleaningReason reason);   // "トリガー", "手動", "起動時"
const char* endWord(CleaningEnd end);            // "Done", "BrokenOff", "NotRun"

// Minutes this session's clock runs ahead of UTC, from one reading of both.
int minutesAheadOfUtc(int localHour, int localMinute, int utcHour, int utcMinute);
// "HH:MM" of a UTC minute in a session that runs `ahead` minutes ahead.
std::string localHourMinute(UtcMinute at, int ahead);
// A UTC minute moved on by some minutes, across midnight.
UtcMinute addMinutes(UtcMinute at, int minutes);
// Minutes from `now` until `at`, across midnight: 0 to 1439.
int minutesUntil(UtcMinute now, UtcMinute at);

} // namespace tidemark::cleaner
