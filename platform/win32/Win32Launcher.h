// Starting programs and documents through the shell.
#pragma once
#include "platform/Clock.h"
#include "platform/Launcher.h"

namespace tidemark::win32 {

// Documents may open through shell extensions that need COM: a program
// that launches them initialises COM on the calling thread first.
class Win32Launcher final : public platform::Launcher {
public:
    // Waits for a started program go through the clock.
    explicit Win32Launcher(platform::Clock& clock) : clock_(clock) {}

    std::intptr_t shellExecute(platform::NativeWindow owner, const std::string& verb,
                               const std::string& file, const std::string& parameters,
                               const std::string& directory, int showCommand) override;
    std::intptr_t shellExecuteAndWait(platform::NativeWindow owner, const std::string& verb, const std::string& file,
                                      const std::string& parameters, const std::string& directory, int showCommand,
                                      std::uint32_t timeoutMs) override;
    platform::StartedProgram startProgram(platform::NativeWindow owner, const std::string& file,
                                          const std::string& parameters, int showCommand) override;
    platform::StartedProgram startProgramWithInput(const std::string& file, const std::string& parameters,
                                                   int showCommand, const std::string& input,
                                                   std::uint32_t inputCodePage) override;

    static constexpr std::uint32_t kPollMs = 20;
    // The input pipe holds a whole password line: the write never waits.
    static constexpr std::uint32_t kPipeBytes = 4096;

private:
    platform::Clock& clock_;
};

} // namespace tidemark::win32
