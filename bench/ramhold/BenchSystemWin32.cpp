// Benchmark backend for Windows: VirtualAlloc, VirtualFree, and the engine's own page memory.
#include "BenchSystem.h"

#include "platform/win32/WindowsApi.h"
#include "ramhold/win32/Win32PageMemory.h"

namespace tidemark::ramhold::bench {

std::unique_ptr<PageMemory> makeSystemPageMemory() {
    return std::make_unique<win32::Win32PageMemory>();
}

bool bareClaimTouchRelease(std::size_t bytes, std::size_t pageSize) {
    void* base = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (base == nullptr) return false;
    volatile unsigned char* p = static_cast<unsigned char*>(base);
    for (std::size_t offset = 0; offset < bytes; offset += pageSize) p[offset] = 0x5A;
    ::VirtualFree(base, 0, MEM_RELEASE);
    return true;
}

std::string systemName() {
    return "Windows (VirtualAlloc)";
}

} // namespace tidemark::ramhold::bench
