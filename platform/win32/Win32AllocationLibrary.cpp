// Allocation library backend: LoadLibraryExW and GetProcAddress on Ramhold.dll only.
#include "platform/win32/Win32AllocationLibrary.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <vector>

namespace tidemark::win32 {
namespace {

constexpr const char* kDefaultFileName = "Ramhold.dll";

constexpr const char* kOperationNames[] = {
    "MallocFirst", "MallocSlow", "GetMallocFirstFlag", "GetMallocSlowFlag", "GetRamholdMemFlag", "LetRamholdBreak",
};

// The exported functions, as the library declares them.
using StartFirstFn = std::int32_t(WINAPI*)(std::int32_t);
using StartSlowFn = std::int32_t(WINAPI*)(std::int32_t, std::int32_t, std::int32_t);
using QueryFn = std::int32_t(WINAPI*)();

std::wstring executableFolder() {
    // Installs under long paths exceed MAX_PATH; the call truncates silently
    // and fills the buffer, so grow until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size() || buffer.size() >= 32768) {
            const std::wstring path(buffer.data(), length);
            const std::size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

Win32AllocationLibrary::Win32AllocationLibrary() : fileName_(kDefaultFileName) {}

Win32AllocationLibrary::Win32AllocationLibrary(const std::string& dllPath)
    : path_(toWide(dllPath)), fileName_(fileNameOf(dllPath)) {}

void Win32AllocationLibrary::startFastClaim(std::int32_t sizeMB) {
    if (const Proc proc = bind(OpMallocFirst)) reinterpret_cast<StartFirstFn>(proc)(sizeMB);
}

void Win32AllocationLibrary::startStepwiseClaim(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) {
    if (const Proc proc = bind(OpMallocSlow)) reinterpret_cast<StartSlowFn>(proc)(sizeMB, stepBytes, pauseMs);
}

std::int32_t Win32AllocationLibrary::fastClaimStatus() {
    const Proc proc = bind(OpGetMallocFirstFlag);
    return proc ? reinterpret_cast<QueryFn>(proc)() : 0;
}

std::int32_t Win32AllocationLibrary::stepwiseClaimStatus() {
    const Proc proc = bind(OpGetMallocSlowFlag);
    return proc ? reinterpret_cast<QueryFn>(proc)() : 0;
}

std::int32_t Win32AllocationLibrary::memoryHeldStatus() {
    const Proc proc = bind(OpGetRamholdMemFlag);
    return proc ? reinterpret_cast<QueryFn>(proc)() : 0;
}

void Win32AllocationLibrary::requestBreak() {
    if (const Proc proc = bind(OpLetRamholdBreak)) reinterpret_cast<QueryFn>(proc)();
}

std::string Win32AllocationLibrary::loadProblem() {
    std::lock_guard<std::mutex> lock(mutex_);
    return problem_;
}

Win32AllocationLibrary::Proc Win32AllocationLibrary::bind(Operation op) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (looked_[op]) return procs_[op];
    void* module = loadLocked();
    if (module == nullptr) return nullptr; // tried once; never again
    looked_[op] = true;
    const FARPROC found = ::GetProcAddress(static_cast<HMODULE>(module), kOperationNames[op]);
    if (found == nullptr) {
        noteProblemLocked(fileName_ + ":" + kOperationNames[op]);
        return nullptr;
    }
    procs_[op] = reinterpret_cast<Proc>(found);
    return procs_[op];
}

void* Win32AllocationLibrary::loadLocked() {
    if (state_ == LoadState::Loaded) return module_;
    if (state_ == LoadState::Missing) return nullptr;
    state_ = LoadState::Missing;
    if (path_.empty()) {
        const std::wstring folder = executableFolder();
        if (!folder.empty()) path_ = folder + toWide(fileName_);
    }
    if (!path_.empty()) {
        // No "insert a disk" boxes if the program runs from removable media;
        // a full path also keeps the DLL search path (and the current
        // folder) out of it. The altered search path finds anything the
        // library loads beside it.
        DWORD oldMode = 0;
        ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
        module_ = ::LoadLibraryExW(path_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        ::SetThreadErrorMode(oldMode, nullptr);
    }
    if (module_ == nullptr) {
        noteProblemLocked(fileName_);
        return nullptr;
    }
    state_ = LoadState::Loaded;
    return module_;
}

void Win32AllocationLibrary::noteProblemLocked(const std::string& problem) {
    if (problem_.empty()) problem_ = problem;
}

} // namespace tidemark::win32
