#include "ramhold/RamholdEngine.h"

#include "platform/AllocationLibrary.h"
#include "ramhold/HeapPageMemory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tidemark::ramhold {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Every wait in these tests is bounded, so a broken engine fails instead of
// hanging the suite.
constexpr milliseconds kBound{10000};
constexpr std::uint64_t kMiB = 1048576;
constexpr std::size_t kPage = 4096;

static_assert(slowstatus::Idle == platform::slowstatus::Idle);
static_assert(slowstatus::Claiming == platform::slowstatus::Claiming);
static_assert(slowstatus::Succeeded == platform::slowstatus::Succeeded);
static_assert(slowstatus::Failed == platform::slowstatus::Failed);
static_assert(slowstatus::Interrupted == platform::slowstatus::Interrupted);

// A one-shot signal between the test thread and the engine's worker.
class Gate {
public:
    void open() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    bool wait(milliseconds timeout = kBound) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

class RamholdEngineTest : public ::testing::Test {
protected:
    // Claim number `n` signals `reached` and then waits for `proceed`.
    void holdClaim(std::uint64_t n) {
        memory.setClaimHook([this, n](std::uint64_t k) {
            if (k != n) return;
            reached.open();
            proceed.wait();
        });
    }
    // Claim number `n` signals `reached` and goes on.
    void signalClaim(std::uint64_t n) {
        memory.setClaimHook([this, n](std::uint64_t k) {
            if (k == n) reached.open();
        });
    }
    void expectAllReleased() {
        const auto stats = memory.stats();
        EXPECT_EQ(stats.bytesHeld, 0u);
        EXPECT_EQ(stats.releases, stats.claims);
        EXPECT_EQ(stats.badReleases, 0u);
    }
    void expectFlags(std::int32_t first, std::int32_t slow, std::int32_t mem) {
        EXPECT_EQ(engine.firstFlag(), first);
        EXPECT_EQ(engine.slowFlag(), slow);
        EXPECT_EQ(engine.memFlag(), mem);
    }

    // Declared in this order so the engine (and its worker) goes first.
    Gate reached;
    Gate proceed;
    HeapPageMemory memory{kPage};
    RamholdEngine engine{memory};
};

TEST_F(RamholdEngineTest, FirstClaimsTouchesAndReleasesEverything) {
    EXPECT_EQ(engine.startFirst(4), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Idle, 0);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.claims, 1u);
    EXPECT_EQ(stats.peakBytesHeld, 4 * kMiB);
    EXPECT_EQ(stats.pagesReleased, 1024u);
    EXPECT_EQ(stats.pagesTouchedAtRelease, 1024u);
    expectAllReleased();
    const CleaningReport report = engine.lastReport();
    EXPECT_EQ(report.kind, CleaningKind::First);
    EXPECT_EQ(report.outcome, slowstatus::Succeeded);
    EXPECT_EQ(report.bytesClaimed, 4 * kMiB);
    EXPECT_EQ(engine.finishedCleanings(), 1u);
}

TEST_F(RamholdEngineTest, FirstFlagsAreUpWhileItRuns) {
    holdClaim(1);
    ASSERT_EQ(engine.startFirst(4), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    expectFlags(1, slowstatus::Idle, 1);
    EXPECT_FALSE(engine.waitIdle(milliseconds(20)));
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Idle, 0);
}

TEST_F(RamholdEngineTest, FirstThatCannotBeClaimedEndsWithFlagsDown) {
    memory.setBudget(1 * kMiB);
    ASSERT_EQ(engine.startFirst(4), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Idle, 0);
    EXPECT_EQ(memory.stats().claims, 0u);
    EXPECT_EQ(memory.stats().failedClaims, 1u);
    EXPECT_EQ(engine.lastReport().outcome, slowstatus::Failed);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, SlowClaimsInStepsWithPausesBetween) {
    // The flags as the worker sees them at each claim.
    std::mutex seenMutex;
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    memory.setClaimHook([&](std::uint64_t) {
        std::lock_guard<std::mutex> lock(seenMutex);
        seen.emplace_back(engine.slowFlag(), engine.memFlag());
    });
    const auto start = Clock::now();
    ASSERT_EQ(engine.startSlow(4, static_cast<std::int32_t>(kMiB), 20), StartResult::Started);
    // Up before the start call returns.
    expectFlags(0, slowstatus::Claiming, 1);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_GE(msSince(start), 3 * 20);
    expectFlags(0, slowstatus::Succeeded, 0);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.claims, 4u);
    EXPECT_EQ(stats.peakBytesHeld, 4 * kMiB); // all held at once before release
    EXPECT_EQ(stats.pagesTouchedAtRelease, 1024u);
    expectAllReleased();
    const CleaningReport report = engine.lastReport();
    EXPECT_EQ(report.kind, CleaningKind::Slow);
    EXPECT_EQ(report.stepsClaimed, 4u);
    EXPECT_EQ(report.pauses, 3u);
    EXPECT_EQ(report.bytesClaimed, 4 * kMiB);
    std::lock_guard<std::mutex> lock(seenMutex);
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>(4, {slowstatus::Claiming, 1})));
}

TEST_F(RamholdEngineTest, BreakDuringAPauseEndsItAtOnce) {
    signalClaim(1);
    ASSERT_EQ(engine.startSlow(8, static_cast<std::int32_t>(kMiB), 10000), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    // One MiB is touched in well under this; the worker is then in its pause.
    std::this_thread::sleep_for(milliseconds(50));
    const auto breakAt = Clock::now();
    engine.requestBreak();
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_LT(msSince(breakAt), 2000); // the pause was 10 s
    expectFlags(0, slowstatus::Interrupted, 0);
    EXPECT_EQ(memory.stats().claims, 1u);
    EXPECT_EQ(engine.lastReport().pauses, 0u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, BreakMidwayStopsAfterTheStepInHand) {
    holdClaim(3);
    ASSERT_EQ(engine.startSlow(8, static_cast<std::int32_t>(kMiB), 20), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    engine.requestBreak();
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Interrupted, 0);
    EXPECT_EQ(memory.stats().claims, 3u);
    EXPECT_EQ(engine.lastReport().pauses, 2u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, BreakInsideALargeStepStopsTouchingIt) {
    // The break lands while the one 8 MiB step is being touched: the rest of
    // it is left untouched and given back.
    memory.setClaimHook([this](std::uint64_t) { engine.requestBreak(); });
    ASSERT_EQ(engine.startSlow(8, static_cast<std::int32_t>(8 * kMiB), 10000), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Interrupted, 0);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.claims, 1u);
    EXPECT_EQ(stats.pagesReleased, 2048u);
    EXPECT_LT(stats.pagesTouchedAtRelease, 2048u);
    EXPECT_GT(stats.pagesTouchedAtRelease, 0u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, BreakRightAfterTheStartEndsBeforeAnyPause) {
    // The worker may or may not have begun its first claim when the break
    // comes; either way it stops within that step and never pauses.
    const auto start = Clock::now();
    ASSERT_EQ(engine.startSlow(8, static_cast<std::int32_t>(kMiB), 10000), StartResult::Started);
    engine.requestBreak();
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_LT(msSince(start), 2000);
    expectFlags(0, slowstatus::Interrupted, 0);
    EXPECT_LE(memory.stats().claims, 1u);
    EXPECT_EQ(engine.lastReport().pauses, 0u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, ClaimFailureMidwayReleasesEverything) {
    memory.failClaimNumber(3);
    ASSERT_EQ(engine.startSlow(8, static_cast<std::int32_t>(kMiB), 5), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Failed, 0);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.claims, 2u);
    EXPECT_EQ(stats.failedClaims, 1u);
    EXPECT_EQ(engine.lastReport().stepsClaimed, 2u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, StartsWhileSlowRunsAreRefused) {
    holdClaim(1);
    ASSERT_EQ(engine.startSlow(4, static_cast<std::int32_t>(kMiB), 5), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    EXPECT_EQ(engine.startSlow(4, static_cast<std::int32_t>(kMiB), 5), StartResult::Refused);
    EXPECT_EQ(engine.startFirst(4), StartResult::Refused);
    EXPECT_EQ(engine.startSlow(0, 0, 0), StartResult::Refused); // would report 2 otherwise
    expectFlags(0, slowstatus::Claiming, 1);
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Succeeded, 0);
    EXPECT_EQ(memory.stats().claims, 4u);
    EXPECT_EQ(engine.finishedCleanings(), 1u);
    // Free again once it is over.
    EXPECT_EQ(engine.startFirst(1), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.finishedCleanings(), 2u);
}

TEST_F(RamholdEngineTest, StartsWhileFirstRunsAreRefused) {
    holdClaim(1);
    ASSERT_EQ(engine.startFirst(4), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    EXPECT_EQ(engine.startFirst(4), StartResult::Refused);
    EXPECT_EQ(engine.startSlow(4, static_cast<std::int32_t>(kMiB), 5), StartResult::Refused);
    expectFlags(1, slowstatus::Idle, 1);
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    expectFlags(0, slowstatus::Idle, 0);
    EXPECT_EQ(memory.stats().claims, 1u);
    EXPECT_EQ(engine.finishedCleanings(), 1u);
}

TEST_F(RamholdEngineTest, SizesOfZeroOrLessEndAtOnceWithNothingClaimed) {
    EXPECT_EQ(engine.startFirst(0), StartResult::Completed);
    EXPECT_EQ(engine.startFirst(-1), StartResult::Completed);
    expectFlags(0, slowstatus::Idle, 0);
    EXPECT_EQ(engine.startSlow(0, static_cast<std::int32_t>(kMiB), 5), StartResult::Completed);
    expectFlags(0, slowstatus::Succeeded, 0);
    EXPECT_EQ(engine.startSlow(-7, static_cast<std::int32_t>(kMiB), 5), StartResult::Completed);
    expectFlags(0, slowstatus::Succeeded, 0);
    EXPECT_EQ(memory.stats().claims + memory.stats().failedClaims, 0u);
    EXPECT_EQ(engine.finishedCleanings(), 0u);
}

TEST_F(RamholdEngineTest, StepLargerThanTheSizeIsOneStepWithoutPause) {
    const auto start = Clock::now();
    ASSERT_EQ(engine.startSlow(2, static_cast<std::int32_t>(100 * kMiB), 10000), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_LT(msSince(start), 5000);
    expectFlags(0, slowstatus::Succeeded, 0);
    EXPECT_EQ(memory.stats().claims, 1u);
    EXPECT_EQ(memory.stats().peakBytesHeld, 2 * kMiB);
    EXPECT_EQ(engine.lastReport().pauses, 0u);
    expectAllReleased();
}

TEST_F(RamholdEngineTest, BreakWithNothingRunningIsHarmless) {
    engine.requestBreak();
    expectFlags(0, slowstatus::Idle, 0);
    ASSERT_EQ(engine.startSlow(2, static_cast<std::int32_t>(kMiB), 1), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    engine.requestBreak();
    expectFlags(0, slowstatus::Succeeded, 0);
    // Not remembered for the next cleaning either.
    ASSERT_EQ(engine.startSlow(2, static_cast<std::int32_t>(kMiB), 1), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.slowFlag(), slowstatus::Succeeded);
    EXPECT_EQ(memory.stats().claims, 4u);
}

TEST_F(RamholdEngineTest, BreakLeavesAFastCleaningAlone) {
    holdClaim(1);
    ASSERT_EQ(engine.startFirst(4), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    engine.requestBreak();
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.lastReport().outcome, slowstatus::Succeeded);
    EXPECT_EQ(memory.stats().pagesTouchedAtRelease, 1024u);
    EXPECT_EQ(engine.slowFlag(), slowstatus::Idle);
}

TEST_F(RamholdEngineTest, SlowOutcomeStaysUntilTheNextSlowStart) {
    memory.failClaimNumber(1);
    ASSERT_EQ(engine.startSlow(1, static_cast<std::int32_t>(kMiB), 1), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.slowFlag(), slowstatus::Failed);
    ASSERT_EQ(engine.startFirst(1), StartResult::Started);
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.slowFlag(), slowstatus::Failed);
    holdClaim(3);
    ASSERT_EQ(engine.startSlow(1, static_cast<std::int32_t>(kMiB), 1), StartResult::Started);
    EXPECT_EQ(engine.slowFlag(), slowstatus::Claiming);
    ASSERT_TRUE(reached.wait());
    proceed.open();
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.slowFlag(), slowstatus::Succeeded);
}

TEST_F(RamholdEngineTest, StartsAgainAsSoonAsTheMemoryFlagDrops) {
    // What a caller polling once a second does, without the second: a start
    // right after it sees 0 must never be refused.
    for (int i = 0; i < 20; ++i) {
        const StartResult result = i % 2 == 0 ? engine.startFirst(1) : engine.startSlow(1, 262144, 0);
        ASSERT_EQ(result, StartResult::Started) << i;
        const auto start = Clock::now();
        while (engine.memFlag() != 0) {
            ASSERT_LT(msSince(start), kBound.count()) << i;
            std::this_thread::yield();
        }
    }
    ASSERT_TRUE(engine.waitIdle(kBound));
    EXPECT_EQ(engine.finishedCleanings(), 20u);
    EXPECT_EQ(memory.stats().claims, 10u + 10u * 4u);
    expectAllReleased();
}

TEST(RamholdEngineShutdownTest, DestructorStopsARunningCleaningPromptly) {
    Gate reached;
    HeapPageMemory memory(kPage);
    memory.setClaimHook([&](std::uint64_t) { reached.open(); });
    auto engine = std::make_unique<RamholdEngine>(memory);
    ASSERT_EQ(engine->startSlow(8, static_cast<std::int32_t>(kMiB), 10000), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    // Past the first step's touching: the worker is waiting out its pause.
    std::this_thread::sleep_for(milliseconds(50));
    const auto start = Clock::now();
    engine.reset();
    EXPECT_LT(msSince(start), 2000);
    EXPECT_EQ(memory.stats().bytesHeld, 0u);
    EXPECT_EQ(memory.stats().releases, memory.stats().claims);
}

TEST(RamholdEngineShutdownTest, DestructorStopsTouchingALargeFastClaim) {
    Gate reached;
    Gate proceed;
    HeapPageMemory memory(kPage);
    auto engine = std::make_unique<RamholdEngine>(memory);
    memory.setClaimHook([&](std::uint64_t) {
        reached.open();
        proceed.wait();
    });
    ASSERT_EQ(engine->startFirst(64), StartResult::Started);
    ASSERT_TRUE(reached.wait());
    // Let the destructor mark the engine as stopping before the touching
    // starts, so it must stop early rather than finish 64 MiB.
    std::thread destroyer([&] { engine.reset(); });
    std::this_thread::sleep_for(milliseconds(200));
    proceed.open();
    destroyer.join();
    const auto stats = memory.stats();
    EXPECT_EQ(stats.bytesHeld, 0u);
    EXPECT_EQ(stats.releases, 1u);
    EXPECT_LT(stats.pagesTouchedAtRelease, 64u * 256u);
}

TEST(RamholdEngineConcurrencyTest, ManyCallersNeverLeakOrCorruptTheFlags) {
    HeapPageMemory memory(kPage);
    RamholdEngine engine(memory);
    std::atomic<bool> done{false};
    std::atomic<int> badFlags{0};

    std::thread poller([&] {
        while (!done.load()) {
            const std::int32_t first = engine.firstFlag();
            const std::int32_t slow = engine.slowFlag();
            const std::int32_t mem = engine.memFlag();
            if (first < 0 || first > 1 || slow < 0 || slow > 4 || mem < 0 || mem > 1) ++badFlags;
        }
    });
    std::thread breaker([&] {
        while (!done.load()) {
            engine.requestBreak();
            std::this_thread::yield();
        }
    });
    std::thread starter2([&] {
        for (int i = 0; i < 200; ++i) {
            engine.startFirst(1);
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 200; ++i) {
        engine.startSlow(1, 65536, 0);
        std::this_thread::yield();
    }
    starter2.join();
    ASSERT_TRUE(engine.waitIdle(kBound));
    done.store(true);
    poller.join();
    breaker.join();

    EXPECT_EQ(badFlags.load(), 0);
    EXPECT_EQ(engine.memFlag(), 0);
    EXPECT_EQ(engine.firstFlag(), 0);
    EXPECT_NE(engine.slowFlag(), slowstatus::Claiming);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.bytesHeld, 0u);
    EXPECT_EQ(stats.releases, stats.claims);
    EXPECT_EQ(stats.badReleases, 0u);
    EXPECT_GT(engine.finishedCleanings(), 0u);
}

} // namespace
} // namespace tidemark::ramhold
