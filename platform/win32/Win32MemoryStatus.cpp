// Memory-status backend: GlobalMemoryStatusEx only.
#include "platform/win32/Win32MemoryStatus.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<platform::MemoryStatusInfo> Win32MemoryStatus::query() {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;   // 64
    if (!::GlobalMemoryStatusEx(&m)) return std::nullopt;
    platform::MemoryStatusInfo info;
    info.memoryLoad = m.dwMemoryLoad;
    info.totalPhys = m.ullTotalPhys;
    info.availPhys = m.ullAvailPhys;
    info.totalPageFile = m.ullTotalPageFile;
    info.availPageFile = m.ullAvailPageFile;
    info.totalVirtual = m.ullTotalVirtual;
    info.availVirtual = m.ullAvailVirtual;
    return info;
}

} // namespace tidemark::win32
