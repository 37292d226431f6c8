// Ramhold.dll: the six operations the monitor binds by name, over one engine
// that claims memory with VirtualAlloc.
//
// Shutdown: the engine and its page memory are built on first use and never
// destroyed. At process exit Windows kills the worker thread first and then
// sends DLL_PROCESS_DETACH under the loader lock; a destructor there would
// join a dead thread or take a mutex the dead worker may have held. With
// nothing to destroy, the process ends at once and the system takes back
// whatever the worker still held. For the same reason there is no DllMain.
//
// Unloading: the first start pins the module (it stays loaded until the
// process ends), so a FreeLibrary while a worker runs cannot unmap the code
// that worker is executing.
#include "platform/win32/WindowsApi.h"
#include "ramhold/RamholdEngine.h"
#include "ramhold/win32/Win32PageMemory.h"

#include <atomic>
#include <cstdint>
#include <new>

using tidemark::ramhold::RamholdEngine;
using tidemark::ramhold::StartResult;
using tidemark::ramhold::win32::Win32PageMemory;

extern "C" {
std::int32_t WINAPI MallocFirst(std::int32_t sizeMB);
std::int32_t WINAPI MallocSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs);
std::int32_t WINAPI GetMallocFirstFlag();
std::int32_t WINAPI GetMallocSlowFlag();
std::int32_t WINAPI GetRamholdMemFlag();
std::int32_t WINAPI LetRamholdBreak();
}

namespace {

// Storage for an object whose destructor must never run.
template <typename T>
class Immortal {
public:
    Immortal() { new (storage_) T(); }
    T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

struct Library {
    Win32PageMemory memory;
    RamholdEngine engine{memory};
};

// Null only if building the engine threw, in which case every call is a
// harmless no-op rather than an exception escaping into the caller.
Library* library() noexcept {
    static Library* const instance = []() noexcept -> Library* {
        try {
            static Immortal<Library> holder;
            return &holder.get();
        } catch (...) {
            return nullptr;
        }
    }();
    return instance;
}

// Any address inside this module names it to GetModuleHandleExW.
const char moduleAnchor = 0;

void pinModule() noexcept {
    static std::atomic<bool> pinned{false};
    if (pinned.exchange(true)) return;
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&moduleAnchor), &self);
}

std::int32_t started(StartResult result) noexcept {
    return result == StartResult::Started || result == StartResult::Completed ? 1 : 0;
}

} // namespace

// The results of the start calls and of LetRamholdBreak are ignored by the
// callers; 1 means the call was taken, 0 that it was refused.

extern "C" std::int32_t WINAPI MallocFirst(std::int32_t sizeMB) {
    Library* lib = library();
    if (lib == nullptr) return 0;
    pinModule();
    return started(lib->engine.startFirst(sizeMB));
}

extern "C" std::int32_t WINAPI MallocSlow(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) {
    Library* lib = library();
    if (lib == nullptr) return 0;
    pinModule();
    return started(lib->engine.startSlow(sizeMB, stepBytes, pauseMs));
}

extern "C" std::int32_t WINAPI GetMallocFirstFlag() {
    Library* lib = library();
    return lib != nullptr ? lib->engine.firstFlag() : 0;
}

extern "C" std::int32_t WINAPI GetMallocSlowFlag() {
    Library* lib = library();
    return lib != nullptr ? lib->engine.slowFlag() : 0;
}

extern "C" std::int32_t WINAPI GetRamholdMemFlag() {
    Library* lib = library();
    return lib != nullptr ? lib->engine.memFlag() : 0;
}

extern "C" std::int32_t WINAPI LetRamholdBreak() {
    Library* lib = library();
    if (lib == nullptr) return 0;
    lib->engine.requestBreak();
    return 1;
}
