// The memory-allocation library as the programs reach it: Ramhold.dll from
// the folder of the program's own executable (a full path, never the DLL
// search path), loaded at the first call, each operation bound by name at
// its first use. What cannot be found turns into a no-op returning 0 and a
// loadProblem(): "Ramhold.dll" for the library, "Ramhold.dll:<Name>" for
// an operation; the first problem met is the one kept.
#pragma once
#include "platform/AllocationLibrary.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <string>

namespace tidemark::win32 {

class Win32AllocationLibrary final : public platform::AllocationLibrary {
public:
    // Ramhold.dll beside the running executable.
    Win32AllocationLibrary();
    // The library at this full path (UTF-8); tests point it at other folders
    // and stand-in libraries. Its file name is what the problems name.
    explicit Win32AllocationLibrary(const std::string& dllPath);
    // The library is never unloaded: a cleaning it started may still be
    // running on the library's own thread.
    ~Win32AllocationLibrary() override = default;
    Win32AllocationLibrary(const Win32AllocationLibrary&) = delete;
    Win32AllocationLibrary& operator=(const Win32AllocationLibrary&) = delete;

    void startFastClaim(std::int32_t sizeMB) override;
    void startStepwiseClaim(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) override;
    std::int32_t fastClaimStatus() override;
    std::int32_t stepwiseClaimStatus() override;
    std::int32_t memoryHeldStatus() override;
    void requestBreak() override;
    std::string loadProblem() override;

private:
    enum Operation : std::size_t {
        OpMallocFirst,
        OpMallocSlow,
        OpGetMallocFirstFlag,
        OpGetMallocSlowFlag,
        OpGetRamholdMemFlag,
        OpLetRamholdBreak,
        OpCount,
    };
    // Any function pointer; cast to the operation's own type before the call.
    using Proc = void (*)();

    Proc bind(Operation op);
    void* loadLocked();
    void noteProblemLocked(const std::string& problem);

    std::mutex mutex_;
    std::wstring path_; // empty until worked out, for the default library
    std::string fileName_;
    enum class LoadState { NotTried, Loaded, Missing } state_ = LoadState::NotTried;
    void* module_ = nullptr;
    std::array<Proc, OpCount> procs_{};
    std::array<bool, OpCount> looked_{};
    std::string problem_;
};

} // namespace tidemark::win32
