// Child program of RamholdExitTest: starts a cleaning through Ramhold.dll
// beside it and leaves while the cleaning runs, in the ways a program can
// leave. Exit code 0 when everything it checked held; a hang or a crash is
// for the parent to see.
//
//   slow-return       stepwise cleaning in a long pause, return from main
//   slow-exitprocess  the same, ExitProcess(0) from main
//   slow-exitthread   the same, ExitProcess(0) from a second thread
//   first-return      large fast cleaning being touched, return from main
//   unload            FreeLibrary while a stepwise cleaning runs, then let it finish
//   where             from another current folder: the library loaded is the one
//                     beside the program
//   missing           (copied to a folder without the library) every call is a
//                     no-op and the problem names the library
#include "platform/win32/Win32AllocationLibrary.h"
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using tidemark::win32::Win32AllocationLibrary;

constexpr std::int32_t kLongPauseMs = 30000;

std::wstring programFolder() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    const std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// A stepwise cleaning that sits in a 30 s pause after its first step.
int startLongSlow(Win32AllocationLibrary& lib) {
    lib.startStepwiseClaim(64, 1048576, kLongPauseMs);
    if (lib.stepwiseClaimStatus() != 1 || lib.memoryHeldStatus() != 1) return 10;
    ::Sleep(200);
    if (lib.stepwiseClaimStatus() != 1) return 11;
    return 0;
}

DWORD WINAPI exitFromThread(void*) {
    ::ExitProcess(0);
    return 0;
}

int unloadWhileRunning() {
    const std::wstring path = programFolder() + L"Ramhold.dll";
    HMODULE module = ::LoadLibraryW(path.c_str());
    if (module == nullptr) return 20;
    using StartSlowFn = std::int32_t(WINAPI*)(std::int32_t, std::int32_t, std::int32_t);
    using QueryFn = std::int32_t(WINAPI*)();
    const auto startSlow = reinterpret_cast<StartSlowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "MallocSlow")));
    const auto slowFlag = reinterpret_cast<QueryFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "GetMallocSlowFlag")));
    if (startSlow == nullptr || slowFlag == nullptr) return 21;
    if (startSlow(8, 1048576, 20) != 1) return 22;
    // The worker keeps running the library's code through all of this; had
    // the library been unmapped, the process would crash here.
    ::FreeLibrary(module);
    if (::GetModuleHandleW(path.c_str()) == nullptr) return 23;
    const ULONGLONG start = ::GetTickCount64();
    while (slowFlag() == 1) {
        if (::GetTickCount64() - start > 20000) return 24;
        ::Sleep(10);
    }
    return slowFlag() == 2 ? 0 : 25;
}

int loadsFromProgramFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temp) == 0 || !::SetCurrentDirectoryW(temp)) return 30;
    Win32AllocationLibrary lib;
    if (lib.memoryHeldStatus() != 0 || !lib.loadProblem().empty()) return 31;
    HMODULE module = ::GetModuleHandleW(L"Ramhold.dll");
    if (module == nullptr) return 32;
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    const std::wstring loaded(buffer.data(), length);
    const std::wstring expected = programFolder() + L"Ramhold.dll";
    return ::CompareStringOrdinal(loaded.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL ? 0 : 33;
}

int missingLibrary() {
    Win32AllocationLibrary lib;
    if (!lib.loadProblem().empty()) return 40; // nothing is loaded before the first call
    lib.startFastClaim(8);
    lib.startStepwiseClaim(8, 1048576, 10);
    lib.requestBreak();
    if (lib.fastClaimStatus() != 0 || lib.stepwiseClaimStatus() != 0 || lib.memoryHeldStatus() != 0) return 41;
    return lib.loadProblem() == "Ramhold.dll" ? 0 : 42;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "unload") return unloadWhileRunning();
    if (mode == "where") return loadsFromProgramFolder();
    if (mode == "missing") return missingLibrary();

    Win32AllocationLibrary lib;
    if (mode == "first-return") {
        lib.startFastClaim(512);
        return lib.fastClaimStatus() == 1 ? 0 : 50;
    }
    const int started = startLongSlow(lib);
    if (started != 0) return started;
    if (mode == "slow-return") return 0;
    if (mode == "slow-exitprocess") ::ExitProcess(0);
    if (mode == "slow-exitthread") {
        HANDLE thread = ::CreateThread(nullptr, 0, exitFromThread, nullptr, 0, nullptr);
        if (thread == nullptr) return 60;
        ::WaitForSingleObject(thread, INFINITE);
        return 61; // never reached: the process ends in the thread
    }
    return 2;
}
