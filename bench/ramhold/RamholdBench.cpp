// How close a cleaning comes to what the machine can do.
//
// 1. Fast cleaning: claim, touch and release N MiB through the engine
//    (start call, worker thread, wait for the end) against a bare commit +
//    touch loop + free of the same size on the calling thread.
// 2. Stepwise cleaning: the time between consecutive step claims, less the
//    requested pause, is the pause error.
// 3. Break: how long from LetRamholdBreak to everything released.
//
// Usage: tm_ramhold_bench [sizeMiB=256] [rounds=5]
#include "BenchSystem.h"

#include "ramhold/RamholdEngine.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace tidemark::ramhold::bench {
namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Notes when each claim begins, and lets the benchmark wait for one.
class TimingPageMemory final : public PageMemory {
public:
    explicit TimingPageMemory(PageMemory& inner) : inner_(inner) {}
    std::size_t pageSize() const noexcept override { return inner_.pageSize(); }
    void* claim(std::size_t bytes) noexcept override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            try {
                times_.push_back(Clock::now());
            } catch (...) {
            }
        }
        cv_.notify_all();
        return inner_.claim(bytes);
    }
    void release(void* base, std::size_t bytes) noexcept override { inner_.release(base, bytes); }

    std::vector<Clock::time_point> times() {
        std::lock_guard<std::mutex> lock(mutex_);
        return times_;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        times_.clear();
    }
    bool waitForClaims(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, timeout, [&] { return times_.size() >= count; });
    }

private:
    PageMemory& inner_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Clock::time_point> times_;
};

bool benchFirst(std::int32_t sizeMiB, int rounds) {
    auto memory = makeSystemPageMemory();
    RamholdEngine engine(*memory);
    const std::size_t bytes = static_cast<std::size_t>(sizeMiB) * 1048576u;
    const std::size_t page = memory->pageSize();

    // One of each first, so neither pays for faulting in the code or heap.
    if (engine.startFirst(sizeMiB) != StartResult::Started || !engine.waitIdle(std::chrono::minutes(5)) ||
        engine.lastReport().outcome != slowstatus::Succeeded || !bareClaimTouchRelease(bytes, page)) {
        std::printf("fast cleaning of %d MiB could not be claimed on this machine\n", sizeMiB);
        return false;
    }
    std::vector<double> engineMs, bareMs;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first so drift in the machine favours neither.
        for (int which = 0; which < 2; ++which) {
            const bool engineTurn = (which == 0) == (round % 2 == 0);
            const auto start = Clock::now();
            if (engineTurn) {
                engine.startFirst(sizeMiB);
                engine.waitIdle(std::chrono::minutes(5));
                engineMs.push_back(msBetween(start, Clock::now()));
                if (engine.lastReport().outcome != slowstatus::Succeeded) return false;
            } else {
                if (!bareClaimTouchRelease(bytes, page)) return false;
                bareMs.push_back(msBetween(start, Clock::now()));
            }
        }
    }
    const double e = median(engineMs), b = median(bareMs);
    const double gib = static_cast<double>(sizeMiB) / 1024.0;
    std::printf("fast cleaning, %d MiB, %d rounds, page %zu bytes\n", sizeMiB, rounds, page);
    std::printf("  engine (start..released): median %8.2f ms  best %8.2f ms  %6.2f GiB/s\n", e,
                *std::min_element(engineMs.begin(), engineMs.end()), gib / (e / 1000.0));
    std::printf("  bare commit+touch+free:   median %8.2f ms  best %8.2f ms  %6.2f GiB/s\n", b,
                *std::min_element(bareMs.begin(), bareMs.end()), gib / (b / 1000.0));
    std::printf("  ratio engine/bare (median): %.3f\n", e / b);
    return true;
}

bool benchPauses(std::int32_t pauseMs, int steps) {
    auto system = makeSystemPageMemory();
    TimingPageMemory memory(*system);
    RamholdEngine engine(memory);
    const std::int32_t stepBytes = 262144;
    const std::int32_t sizeMiB = std::max(1, steps * stepBytes / 1048576);
    const int realSteps = sizeMiB * 1048576 / stepBytes;
    if (engine.startSlow(sizeMiB, stepBytes, pauseMs) != StartResult::Started) return false;
    if (!engine.waitIdle(std::chrono::minutes(5)) || engine.slowFlag() != slowstatus::Succeeded) return false;
    const auto times = memory.times();
    if (times.size() != static_cast<std::size_t>(realSteps)) return false;
    std::vector<double> errors;
    for (std::size_t i = 1; i < times.size(); ++i) errors.push_back(msBetween(times[i - 1], times[i]) - pauseMs);
    double sum = 0;
    for (double e : errors) sum += e;
    std::printf("stepwise cleaning, pause %d ms, %d steps of %d KiB: pause error mean %+.3f ms  min %+.3f ms  "
                "max %+.3f ms\n",
                pauseMs, realSteps, stepBytes / 1024, sum / static_cast<double>(errors.size()),
                *std::min_element(errors.begin(), errors.end()), *std::max_element(errors.begin(), errors.end()));
    return true;
}

bool benchBreak() {
    auto system = makeSystemPageMemory();
    TimingPageMemory memory(*system);
    RamholdEngine engine(memory);
    std::vector<double> latencies;
    for (int round = 0; round < 5; ++round) {
        memory.clear();
        if (engine.startSlow(64, 1048576, 10000) != StartResult::Started) return false;
        if (!memory.waitForClaims(1, std::chrono::seconds(10))) return false;
        // Let the first step be touched so the break lands in the pause.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto start = Clock::now();
        engine.requestBreak();
        engine.waitIdle(std::chrono::minutes(1));
        latencies.push_back(msBetween(start, Clock::now()));
        if (engine.slowFlag() != slowstatus::Interrupted) return false;
    }
    std::printf("break during a 10000 ms pause: released after median %.3f ms  worst %.3f ms\n", median(latencies),
                *std::max_element(latencies.begin(), latencies.end()));
    return true;
}

} // namespace
} // namespace tidemark::ramhold::bench

int main(int argc, char** argv) {
    using namespace tidemark::ramhold::bench;
    const int sizeMiB = argc > 1 ? std::atoi(argv[1]) : 256;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (sizeMiB <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: tm_ramhold_bench [sizeMiB>0] [rounds>0]\n");
        return 2;
    }
    std::printf("Ramhold benchmark on %s\n", systemName().c_str());
    bool ok = benchFirst(sizeMiB, rounds);
    ok = benchPauses(20, 20) && ok;
    ok = benchPauses(100, 10) && ok;
    ok = benchBreak() && ok;
    std::fflush(stdout);
    return ok ? 0 : 1;
}
