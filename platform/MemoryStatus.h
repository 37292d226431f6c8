// Physical memory figures, as the system's memory-status call gives them.
#pragma once
#include <cstdint>
#include <optional>

namespace tidemark::platform {

struct MemoryStatusInfo {
    std::uint32_t memoryLoad = 0;          // percent of physical memory in use
    std::uint64_t totalPhys = 0, availPhys = 0;
    std::uint64_t totalPageFile = 0, availPageFile = 0;
    std::uint64_t totalVirtual = 0, availVirtual = 0;
};

class MemoryStatus {
public:
    virtual ~MemoryStatus() = default;
    virtual std::optional<MemoryStatusInfo> query() = 0;
};

} // namespace tidemark::platform
