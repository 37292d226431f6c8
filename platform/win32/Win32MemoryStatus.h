// Physical memory figures from the system.
#pragma once
#include "platform/MemoryStatus.h"

namespace tidemark::win32 {

class Win32MemoryStatus final : public platform::MemoryStatus {
public:
    std::optional<platform::MemoryStatusInfo> query() override;
};

} // namespace tidemark::win32
