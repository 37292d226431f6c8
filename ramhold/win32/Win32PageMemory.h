// Page memory from the system: VirtualAlloc reserve+commit, VirtualFree
// release. Commit is where the system says no when it cannot back the
// pages, so a cleaning too large for the machine fails here instead of
// having the process killed later.
#pragma once
#include "ramhold/PageMemory.h"

namespace tidemark::ramhold::win32 {

class Win32PageMemory final : public PageMemory {
public:
    Win32PageMemory() noexcept;

    std::size_t pageSize() const noexcept override { return pageSize_; }
    void* claim(std::size_t bytes) noexcept override;
    void release(void* base, std::size_t bytes) noexcept override;

private:
    std::size_t pageSize_;
};

} // namespace tidemark::ramhold::win32
