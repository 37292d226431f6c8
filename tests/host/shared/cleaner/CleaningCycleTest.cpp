// A cleaning's result as the settings file keeps it, and the wait after
// cleanings that do not help.
#include <gtest/gtest.h>

#include "shared/cleaner/CleaningCycle.h"
#include "shared/events/SuiteEvents.h"

namespace tidemark::cleaner {
namespace {

constexpr std::uint64_t MB = 1048576;
constexpr std::int64_t kTrigger = 128 * MB;

CleaningStart startAt(std::uint64_t ms, UtcMinute utc, std::uint64_t freeBefore = 100 * MB) {
    CleaningStart s;
    s.atMs = ms;
    s.atUtc = utc;
    s.sizeMB = 128;
    s.freeBeforeBytes = freeBefore;
    return s;
}

// One cleaning from begin to its end at `endMs` with `freeAfter` free.
CleaningResult clean(CleaningCycle& cycle, std::uint64_t ms, UtcMinute utc, std::uint64_t freeAfter,
                     std::uint64_t endMs) {
    cycle.begin(startAt(ms, utc));
    EXPECT_FALSE(cycle.finish(true, false, freeAfter, endMs, kTrigger)) << "ended while the library held memory";
    return *cycle.finish(false, false, freeAfter, endMs, kTrigger);
}

TEST(CleaningCycle, WaitsDoubleFromTwoToThirtyMinutesAndEndWhenACleaningHelps) {
    CleaningCycle cycle;
    EXPECT_TRUE(cycle.automaticAllowed(0));
    // Every cleaning ends with free memory still at the trigger: it did not help.
    const int expectedWaits[] = {2, 4, 8, 16, 30, 30};
    std::uint64_t now = 0;
    for (int wait : expectedWaits) {
        const UtcMinute at = {23, 50};
        const CleaningResult r = clean(cycle, now, at, kTrigger, now + 3000);
        EXPECT_EQ(cycle.waitMinutes(), wait);
        ASSERT_TRUE(r.nextAttempt);
        EXPECT_EQ(*r.nextAttempt, addMinutes(at, wait));   // across midnight
        // Half a minute early is the tick of that minute; a minute early is not.
        EXPECT_FALSE(cycle.automaticAllowed(now + (wait - 1) * 60000ull));
        EXPECT_TRUE(cycle.automaticAllowed(now + wait * 60000ull - 30000));
        now += wait * 60000ull;
    }
    // One that helped: every minute again, and no next attempt to show.
    const CleaningResult helped = clean(cycle, now, {1, 0}, kTrigger + 1, now + 500);
    EXPECT_FALSE(helped.nextAttempt);
    EXPECT_FALSE(cycle.waiting());
    EXPECT_TRUE(cycle.automaticAllowed(now + 1));
    // The next one that does not help starts at two minutes again.
    clean(cycle, now, {1, 1}, 10 * MB, now + 500);
    EXPECT_EQ(cycle.waitMinutes(), 2);
    cycle.memoryPlentiful();
    EXPECT_TRUE(cycle.automaticAllowed(now + 1));
    EXPECT_FALSE(cycle.nextAttempt());
}

TEST(CleaningCycle, ResultsTellFreedMemoryDurationAndEnd) {
    CleaningCycle cycle;
    cycle.begin(startAt(1000, {9, 5}, 300 * MB));
    cycle.breakRequested();
    CleaningResult broken = *cycle.finish(false, false, 812 * MB + 5, 4249, kTrigger);
    EXPECT_EQ(broken.freedMB(), 512);
    EXPECT_EQ(broken.durationMs, 3249);
    EXPECT_EQ(broken.end, CleaningEnd::BrokenOff);
    EXPECT_EQ(events::secondsText(broken.durationMs), "3.2");

    cycle.begin(startAt(0, {9, 6}, 300 * MB));
    const CleaningResult lost = *cycle.finish(false, false, 290 * MB, 50, kTrigger);
    EXPECT_EQ(lost.freedMB(), -10);   // others took more than the cleaning gave back
    EXPECT_EQ(lost.end, CleaningEnd::Done);

    cycle.begin(startAt(0, {9, 7}));
    EXPECT_EQ(cycle.finish(false, true, 100 * MB, 10, kTrigger)->end, CleaningEnd::BrokenOff);   // interrupted

    const CleaningResult notRun = CleaningCycle().notRun(startAt(0, {9, 8}, 90 * MB), kTrigger);
    EXPECT_EQ(notRun.end, CleaningEnd::NotRun);
    EXPECT_EQ(notRun.freedMB(), 0);
    ASSERT_TRUE(notRun.nextAttempt);   // it did not help either
}

TEST(CleaningResultValue, ReadsBackWhatWasWrittenAndRefusesAnythingElse) {
    CleaningResult r;
    r.started = {7, 3};
    r.reason = CleaningReason::Manual;
    r.mode = 1;
    r.sizeMB = 256;
    r.freeBeforeBytes = 100 * MB;
    r.freeAfterBytes = 90 * MB;
    r.durationMs = 12345;
    r.end = CleaningEnd::BrokenOff;
    r.nextAttempt = UtcMinute{7, 5};
    const std::string value = resultValue(r);
    EXPECT_EQ(value, "0703,手動,Slow,256,100,90,12345,BrokenOff,0705");
    const auto back = parseResultValue(value);
    ASSERT_TRUE(back);
    EXPECT_EQ(resultValue(*back), value);
    EXPECT_EQ(back->freedMB(), -10);
    EXPECT_EQ(resultValue(*parseResultValue("2359,起動時,First,0,0,0,0,NotRun,")), "2359,起動時,First,0,0,0,0,NotRun,");

    for (const char* bad : {"", "garbage", "0703,手動,Slow,256,100,90,12345,BrokenOff",   // a field short
                            "2460,手動,Slow,256,100,90,12345,Done,", "0703,自動,Slow,256,100,90,12345,Done,",
                            "0703,手動,Fast,256,100,90,12345,Done,", "0703,手動,Slow,-1,100,90,12345,Done,",
                            "0703,手動,Slow,256,1x0,90,12345,Done,", "0703,手動,Slow,256,100,90,12345,Finished,",
                            "0703,手動,Slow,256,100,90,12345,Done,9999", "0703,手動,Slow,256,99999999999999999,90,1,Done,"})
        EXPECT_FALSE(parseResultValue(bad)) << bad;
}

TEST(CleaningResultValue, LocalTimesFollowTheSessionsZone) {
    EXPECT_EQ(minutesAheadOfUtc(9, 0, 0, 0), 540);      // Tokyo
    EXPECT_EQ(minutesAheadOfUtc(5, 30, 0, 0), 330);     // India
    EXPECT_EQ(minutesAheadOfUtc(0, 30, 23, 0), 90);     // across midnight
    EXPECT_EQ(minutesAheadOfUtc(19, 0, 0, 0), -300);    // New York
    EXPECT_EQ(localHourMinute({23, 45}, 540), "08:45");
    EXPECT_EQ(localHourMinute({0, 10}, -300), "19:10");
    EXPECT_EQ(minutesUntil({23, 59}, {0, 1}), 2);
}

} // namespace
} // namespace tidemark::cleaner
