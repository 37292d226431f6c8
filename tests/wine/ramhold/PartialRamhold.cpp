// A stand-in for Ramhold.dll that exports only three of the six operations,
// with answers no real library gives, so a test can tell whose code ran.
#include "platform/win32/WindowsApi.h"

#include <atomic>
#include <cstdint>

namespace {
std::atomic<std::int32_t> lastSize{0};
}

extern "C" std::int32_t WINAPI MallocFirst(std::int32_t sizeMB) {
    lastSize.store(sizeMB);
    return 1;
}

extern "C" std::int32_t WINAPI GetMallocFirstFlag() {
    return 7;
}

// Reports the size of the last MallocFirst call.
extern "C" std::int32_t WINAPI GetRamholdMemFlag() {
    return lastSize.load();
}
