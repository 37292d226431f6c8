#include "ramhold/RamholdEngine.h"

#include <limits>

namespace tidemark::ramhold {
namespace {

// Any non-zero byte: the write is what makes the system supply the page.
constexpr unsigned char kTouchMark = 0x5A;
// A break or shutdown is looked at after each mebibyte touched, so a large
// step stops within milliseconds without an atomic load per page.
constexpr std::size_t kBytesPerCancelCheck = 1048576;

} // namespace

RamholdEngine::RamholdEngine(PageMemory& memory) : memory_(memory) {}

RamholdEngine::~RamholdEngine() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_.store(true);
    }
    wake_.notify_all();
    std::lock_guard<std::mutex> startLock(startMutex_);
    if (worker_.joinable()) worker_.join();
}

StartResult RamholdEngine::startFirst(std::int32_t sizeMB) noexcept {
    return start(Job{CleaningKind::First, planFirst(sizeMB, memory_.pageSize()), std::chrono::milliseconds(0)});
}

StartResult RamholdEngine::startSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) noexcept {
    return start(Job{CleaningKind::Slow, planSlow(sizeMB, stepBytes, memory_.pageSize()), pauseOf(pauseMs)});
}

StartResult RamholdEngine::start(const Job& job) noexcept {
    std::lock_guard<std::mutex> startLock(startMutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (active_ || stopping_.load()) return StartResult::Refused;
        if (job.plan.empty()) {
            if (job.kind == CleaningKind::Slow) slowFlag_.store(slowstatus::Succeeded);
            return StartResult::Completed;
        }
        active_ = true;
        activeKind_ = job.kind;
        breakRequested_.store(false);
        // Set before the worker exists, so a caller polling right after the
        // start already sees the cleaning.
        memFlag_.store(1);
        if (job.kind == CleaningKind::First) {
            firstFlag_.store(1);
        } else {
            slowFlag_.store(slowstatus::Claiming);
        }
    }
    // The previous worker marked itself inactive as its last act; this only
    // waits for its return.
    if (worker_.joinable()) worker_.join();
    try {
        worker_ = std::thread([this, job] { work(job); });
        return StartResult::Started;
    } catch (...) {
        // std::system_error when the system refuses a thread, bad_alloc for
        // its state: either way nothing was claimed.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (job.kind == CleaningKind::First) {
                firstFlag_.store(0);
            } else {
                slowFlag_.store(slowstatus::Failed);
            }
            memFlag_.store(0);
            active_ = false;
        }
        idle_.notify_all();
        return StartResult::Failed;
    }
}

void RamholdEngine::requestBreak() noexcept {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_ || activeKind_ != CleaningKind::Slow) return;
        breakRequested_.store(true);
    }
    wake_.notify_all();
}

bool RamholdEngine::waitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return !active_; });
}

std::uint64_t RamholdEngine::finishedCleanings() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
}

CleaningReport RamholdEngine::lastReport() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_;
}

void RamholdEngine::work(const Job& job) noexcept {
    CleaningReport report;
    report.kind = job.kind;
    std::vector<Block> held;
    try {
        if (job.kind == CleaningKind::First) {
            runFirst(job, report, held);
        } else {
            runSlow(job, report, held);
        }
    } catch (...) {
        // Nothing in the runs is meant to throw; if something does, the
        // cleaning ends as a failed claim rather than ending the process.
        report.outcome = slowstatus::Failed;
    }
    releaseAll(held);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (job.kind == CleaningKind::First) {
            firstFlag_.store(0);
        } else {
            slowFlag_.store(report.outcome);
        }
        // Last, and together with `active_` under the lock: a caller that
        // sees 0 here and starts again is never refused.
        memFlag_.store(0);
        active_ = false;
        last_ = report;
        ++finished_;
    }
    idle_.notify_all();
}

void RamholdEngine::runFirst(const Job& job, CleaningReport& report, std::vector<Block>& held) {
    switch (claimAndTouch(job.plan.totalBytes, CleaningKind::First, held)) {
    case ClaimResult::Claimed:
        report.stepsClaimed = 1;
        report.bytesClaimed = job.plan.totalBytes;
        report.outcome = slowstatus::Succeeded;
        break;
    case ClaimResult::Failed:
        report.outcome = slowstatus::Failed;
        break;
    case ClaimResult::Cancelled:
        report.outcome = slowstatus::Interrupted;
        break;
    }
}

void RamholdEngine::runSlow(const Job& job, CleaningReport& report, std::vector<Block>& held) {
    report.outcome = slowstatus::Succeeded;
    for (std::uint64_t step = 0; step < job.plan.steps; ++step) {
        if (step > 0) {
            if (pauseCutShort(job.pause)) {
                report.outcome = slowstatus::Interrupted;
                return;
            }
            ++report.pauses;
        } else if (cancelled(CleaningKind::Slow)) {
            // A break right after the start call, before anything was claimed.
            report.outcome = slowstatus::Interrupted;
            return;
        }
        const std::uint64_t bytes = job.plan.bytesOfStep(step);
        switch (claimAndTouch(bytes, CleaningKind::Slow, held)) {
        case ClaimResult::Claimed:
            ++report.stepsClaimed;
            report.bytesClaimed += bytes;
            break;
        case ClaimResult::Failed:
            report.outcome = slowstatus::Failed;
            return;
        case ClaimResult::Cancelled:
            report.outcome = slowstatus::Interrupted;
            return;
        }
    }
}

RamholdEngine::ClaimResult RamholdEngine::claimAndTouch(std::uint64_t bytes, CleaningKind kind,
                                                        std::vector<Block>& held) {
    // More than the address space can hold is a claim the system cannot
    // satisfy, not a smaller one.
    if (bytes == 0 || bytes > std::numeric_limits<std::size_t>::max()) return ClaimResult::Failed;
    const std::size_t size = static_cast<std::size_t>(bytes);
    void* base = memory_.claim(size);
    if (base == nullptr) return ClaimResult::Failed;
    try {
        held.push_back(Block{base, size});
    } catch (...) {
        memory_.release(base, size);
        return ClaimResult::Failed;
    }

    // Volatile: the bytes are never read back, and without it the writes to
    // memory that is freed afterwards may be dropped by the optimiser.
    volatile unsigned char* const bytesOut = static_cast<unsigned char*>(base);
    const std::size_t page = memory_.pageSize();
    const std::size_t checkEvery = kBytesPerCancelCheck > page ? kBytesPerCancelCheck / page : 1;
    std::size_t sinceCheck = 0;
    for (std::size_t offset = 0; offset < size; offset += page) {
        bytesOut[offset] = kTouchMark;
        if (++sinceCheck == checkEvery) {
            sinceCheck = 0;
            if (cancelled(kind)) return ClaimResult::Cancelled;
        }
    }
    return ClaimResult::Claimed;
}

void RamholdEngine::releaseAll(std::vector<Block>& held) noexcept {
    for (const Block& block : held) memory_.release(block.base, block.bytes);
    held.clear();
}

bool RamholdEngine::pauseCutShort(std::chrono::milliseconds pause) {
    std::unique_lock<std::mutex> lock(mutex_);
    return wake_.wait_for(lock, pause, [this] { return cancelled(CleaningKind::Slow); });
}

bool RamholdEngine::cancelled(CleaningKind kind) const noexcept {
    if (stopping_.load(std::memory_order_relaxed)) return true;
    return kind == CleaningKind::Slow && breakRequested_.load(std::memory_order_relaxed);
}

} // namespace tidemark::ramhold
