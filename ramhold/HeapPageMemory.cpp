#include "ramhold/HeapPageMemory.h"

#include <cstdlib>
#include <utility>

namespace tidemark::ramhold {

HeapPageMemory::HeapPageMemory(std::size_t pageSize) : pageSize_(pageSize == 0 ? 1 : pageSize) {}

HeapPageMemory::~HeapPageMemory() {
    for (const auto& block : live_) std::free(block.first);
}

void* HeapPageMemory::claim(std::size_t bytes) noexcept {
    ClaimHook hook;
    std::uint64_t number = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        number = ++attempts_;
        hook = hook_;
    }
    if (hook) {
        try {
            hook(number);
        } catch (...) {
            // A throwing hook is a broken test; the claim itself goes on.
        }
    }

    std::lock_guard<std::mutex> lock(mutex_);
    const bool overBudget = bytes > budget_ || stats_.bytesHeld > budget_ - bytes;
    void* base = nullptr;
    if (bytes != 0 && !overBudget && number != failAt_) base = std::calloc(bytes, 1);
    if (base == nullptr) {
        ++stats_.failedClaims;
        return nullptr;
    }
    try {
        live_.emplace(base, bytes);
    } catch (...) {
        std::free(base);
        ++stats_.failedClaims;
        return nullptr;
    }
    ++stats_.claims;
    stats_.bytesHeld += bytes;
    if (stats_.bytesHeld > stats_.peakBytesHeld) stats_.peakBytesHeld = stats_.bytesHeld;
    return base;
}

void HeapPageMemory::release(void* base, std::size_t bytes) noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = live_.find(base);
    if (found == live_.end() || found->second != bytes) {
        ++stats_.badReleases;
        return;
    }
    const unsigned char* const data = static_cast<const unsigned char*>(base);
    for (std::size_t offset = 0; offset < bytes; offset += pageSize_) {
        ++stats_.pagesReleased;
        if (data[offset] != 0) ++stats_.pagesTouchedAtRelease;
    }
    std::free(base);
    live_.erase(found);
    ++stats_.releases;
    stats_.bytesHeld -= bytes;
}

void HeapPageMemory::setBudget(std::uint64_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    budget_ = bytes;
}

void HeapPageMemory::failClaimNumber(std::uint64_t n) {
    std::lock_guard<std::mutex> lock(mutex_);
    failAt_ = n;
}

void HeapPageMemory::setClaimHook(ClaimHook hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    hook_ = std::move(hook);
}

HeapPageMemory::Stats HeapPageMemory::stats() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stats_;
}

} // namespace tidemark::ramhold
