// Where a cleaning gets its memory from: whole pages, reserved and committed
// in one call, given back in one call. The engine touches the pages itself.
#pragma once
#include <cstddef>

namespace tidemark::ramhold {

class PageMemory {
public:
    virtual ~PageMemory() = default;

    // The unit the engine touches: one written byte per page makes the
    // system supply a physical page for it.
    virtual std::size_t pageSize() const noexcept = 0;

    // Reserves and commits `bytes` (a whole number of pages). Null when the
    // system cannot supply them; never throws, never ends the process.
    virtual void* claim(std::size_t bytes) noexcept = 0;

    // Gives back a block claim() returned, with the size it was asked for.
    virtual void release(void* base, std::size_t bytes) noexcept = 0;
};

} // namespace tidemark::ramhold
