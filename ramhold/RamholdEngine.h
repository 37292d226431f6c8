// The memory cleaner behind Ramhold.dll: claims memory (commit and touch
// every page, so the system must take physical pages from idle programs)
// and gives it all back. A start call returns at once; the cleaning runs on
// the engine's own worker thread while callers poll the status calls.
//
// Rules the callers rely on:
// - One cleaning at a time, of either kind. A start while any cleaning holds
//   memory does nothing (it is refused), so a fast and a stepwise cleaning
//   never stack their claims.
// - A size of zero or less claims nothing and ends at once: a fast cleaning
//   leaves every flag at 0, a stepwise one reports Succeeded (2) at once.
// - A failed claim releases everything claimed so far: the fast flag returns
//   to 0, the stepwise status becomes Failed (3).
// - requestBreak() stops a stepwise cleaning between steps (and inside a
//   step being touched), releases everything and reports Interrupted (4).
//   It does nothing to a fast cleaning or when nothing runs.
// - The status reads are lock-free and may come from any thread.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/AllocationLibrary.h"
#include "ramhold/CleaningPlan.h"
#include "ramhold/PageMemory.h"

namespace tidemark::ramhold {

// Values of the stepwise status, as GetMallocSlowFlag reports them: the
// contract the callers read them by.
namespace slowstatus = platform::slowstatus;

enum class CleaningKind { First, Slow };

enum class StartResult {
    Started,   // a worker runs the cleaning
    Completed, // nothing to claim: done at once, no worker
    Refused,   // a cleaning already runs, or the engine is shutting down
    Failed,    // no worker thread could be started; nothing claimed
};

// What the last finished cleaning did; for tests and the benchmark.
struct CleaningReport {
    CleaningKind kind = CleaningKind::First;
    // Succeeded, Failed or Interrupted, for both kinds.
    std::int32_t outcome = slowstatus::Idle;
    std::uint64_t stepsClaimed = 0;
    std::uint64_t bytesClaimed = 0; // everything was held at once before release
    std::uint64_t pauses = 0;       // pauses waited out in full
};

class RamholdEngine {
public:
    explicit RamholdEngine(PageMemory& memory);
    // Stops a running cleaning (it releases what it holds) and waits for the
    // worker. The DLL never runs this: see RamholdExports.cpp.
    ~RamholdEngine();
    RamholdEngine(const RamholdEngine&) = delete;
    RamholdEngine& operator=(const RamholdEngine&) = delete;

    StartResult startFirst(std::int32_t sizeMB) noexcept;
    StartResult startSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) noexcept;
    void requestBreak() noexcept;

    // 1 while a fast cleaning runs.
    std::int32_t firstFlag() const noexcept { return firstFlag_.load(); }
    // One of slowstatus; keeps the last outcome until the next stepwise start.
    std::int32_t slowFlag() const noexcept { return slowFlag_.load(); }
    // 1 from an accepted start until everything is released.
    std::int32_t memFlag() const noexcept { return memFlag_.load(); }

    // Waits until no cleaning runs; false when `timeout` passed first.
    bool waitIdle(std::chrono::milliseconds timeout);
    // How many cleanings have finished on a worker, and the last one's report.
    std::uint64_t finishedCleanings() const;
    CleaningReport lastReport() const;

private:
    struct Job {
        CleaningKind kind;
        CleaningPlan plan;
        std::chrono::milliseconds pause;
    };
    struct Block {
        void* base;
        std::size_t bytes;
    };
    enum class ClaimResult { Claimed, Failed, Cancelled };

    StartResult start(const Job& job) noexcept;
    void work(const Job& job) noexcept;
    void runFirst(const Job& job, CleaningReport& report, std::vector<Block>& held);
    void runSlow(const Job& job, CleaningReport& report, std::vector<Block>& held);
    ClaimResult claimAndTouch(std::uint64_t bytes, CleaningKind kind, std::vector<Block>& held);
    void releaseAll(std::vector<Block>& held) noexcept;
    // Waits out a pause; true when a break or shutdown cut it short.
    bool pauseCutShort(std::chrono::milliseconds pause);
    bool cancelled(CleaningKind kind) const noexcept;

    PageMemory& memory_;

    // Serialises the start calls and the destructor over `worker_`.
    std::mutex startMutex_;
    std::thread worker_;

    // Guards the fields below it; the worker waits on `wake_` during pauses.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool active_ = false;
    CleaningKind activeKind_ = CleaningKind::First;
    std::uint64_t finished_ = 0;
    CleaningReport last_;

    // Written under `mutex_` (so a waiting worker cannot miss them), read
    // without it by the touching loop.
    std::atomic<bool> breakRequested_{false};
    std::atomic<bool> stopping_{false};

    std::atomic<std::int32_t> firstFlag_{0};
    std::atomic<std::int32_t> slowFlag_{slowstatus::Idle};
    std::atomic<std::int32_t> memFlag_{0};
};

} // namespace tidemark::ramhold
