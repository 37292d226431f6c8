// Memory backend of the engine: VirtualAlloc, VirtualFree and the page size only.
#include "ramhold/win32/Win32PageMemory.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::ramhold::win32 {

Win32PageMemory::Win32PageMemory() noexcept {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    pageSize_ = info.dwPageSize != 0 ? info.dwPageSize : 4096;
}

void* Win32PageMemory::claim(std::size_t bytes) noexcept {
    if (bytes == 0) return nullptr;
    // Committed in the same call: a reservation alone would let the claim
    // "succeed" and fail later, page by page, with an access violation.
    return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void Win32PageMemory::release(void* base, std::size_t /*bytes*/) noexcept {
    // MEM_RELEASE frees the whole region of the one VirtualAlloc; the size
    // must be zero.
    if (base != nullptr) ::VirtualFree(base, 0, MEM_RELEASE);
}

} // namespace tidemark::ramhold::win32
