// Page memory from the C heap, for the host tests and the host benchmark.
// Blocks come from calloc, so every byte starts at zero and a release can
// count the pages the engine touched. Tests can make claims fail (a budget,
// or one chosen claim) and act from inside a claim, on the worker's thread.
// All members are safe to call from any thread.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "ramhold/PageMemory.h"

namespace tidemark::ramhold {

class HeapPageMemory final : public PageMemory {
public:
    struct Stats {
        std::uint64_t bytesHeld = 0;
        std::uint64_t peakBytesHeld = 0;
        std::uint64_t claims = 0;       // claims that succeeded
        std::uint64_t failedClaims = 0;
        std::uint64_t releases = 0;
        std::uint64_t badReleases = 0;  // unknown block or wrong size
        std::uint64_t pagesReleased = 0;
        std::uint64_t pagesTouchedAtRelease = 0; // pages whose first byte was written
    };
    // Called with the 1-based number of the claim about to be made.
    using ClaimHook = std::function<void(std::uint64_t claimNumber)>;

    explicit HeapPageMemory(std::size_t pageSize = 4096);
    // Frees whatever is still held, so a leaking engine fails its test
    // through the stats rather than through the leak checker alone.
    ~HeapPageMemory() override;
    HeapPageMemory(const HeapPageMemory&) = delete;
    HeapPageMemory& operator=(const HeapPageMemory&) = delete;

    std::size_t pageSize() const noexcept override { return pageSize_; }
    void* claim(std::size_t bytes) noexcept override;
    void release(void* base, std::size_t bytes) noexcept override;

    // A claim that would take the bytes held above `bytes` fails.
    void setBudget(std::uint64_t bytes);
    // Claim number `n` (1-based, counting every claim since construction) fails.
    void failClaimNumber(std::uint64_t n);
    // Runs at the start of each claim, outside the lock.
    void setClaimHook(ClaimHook hook);

    Stats stats() const;

private:
    const std::size_t pageSize_;
    mutable std::mutex mutex_;
    std::map<void*, std::size_t> live_;
    Stats stats_;
    std::uint64_t attempts_ = 0;
    std::uint64_t budget_ = UINT64_MAX;
    std::uint64_t failAt_ = 0;
    ClaimHook hook_;
};

} // namespace tidemark::ramhold
