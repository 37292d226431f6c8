// Benchmark backend for the host: anonymous mmap, munmap.
#include "BenchSystem.h"

#include <sys/mman.h>
#include <unistd.h>

namespace tidemark::ramhold::bench {
namespace {

// The host's counterpart of Win32PageMemory, for measuring only: Linux
// overcommits, so a failed mmap is not the refusal a Windows commit is.
class MmapPageMemory final : public PageMemory {
public:
    std::size_t pageSize() const noexcept override { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }
    void* claim(std::size_t bytes) noexcept override {
        void* base = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return base == MAP_FAILED ? nullptr : base;
    }
    void release(void* base, std::size_t bytes) noexcept override { ::munmap(base, bytes); }
};

} // namespace

std::unique_ptr<PageMemory> makeSystemPageMemory() {
    return std::make_unique<MmapPageMemory>();
}

bool bareClaimTouchRelease(std::size_t bytes, std::size_t pageSize) {
    void* base = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return false;
    volatile unsigned char* p = static_cast<unsigned char*>(base);
    for (std::size_t offset = 0; offset < bytes; offset += pageSize) p[offset] = 0x5A;
    ::munmap(base, bytes);
    return true;
}

std::string systemName() {
    return "host (mmap)";
}

} // namespace tidemark::ramhold::bench
