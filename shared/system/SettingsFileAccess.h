// Opening the shared settings file to every account.
#pragma once
#include <cstdint>
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

inline constexpr const char* kEveryoneFullControlSwitches = "/E /C /G Everyone:F";
inline constexpr std::uint32_t kCaclsWaitMs = 5000;

class SettingsFileAccess {
public:
    SettingsFileAccess(platform::Platform& platform, const ProgramState& state) : platform_(platform), state_(state) {}

    // Runs CACLS from the system folder (minimised) on the quoted path with the switches and waits
    // for it to end, at most kCaclsWaitMs, so that the entry is on the file
    // before anyone writes it again; returns the shell's answer.
    std::intptr_t runCacls(const std::string& path, const std::string& switches);
    // Gives Everyone full control of the shared settings file through CACLS;
    // where the system has no CACLS, adds the same entry directly.
    void openToEveryone();

private:
    platform::Platform& platform_;
    const ProgramState& state_;
};

} // namespace tidemark
