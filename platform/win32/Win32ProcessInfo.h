// The running process: its executable, command line and environment.
#pragma once
#include "platform/ProcessInfo.h"

namespace tidemark::win32 {

class Win32ProcessInfo final : public platform::ProcessInfo {
public:
    std::string executablePath() override;
    std::string commandLine() override;
    std::optional<std::string> environmentVariable(const std::string& name) override;
};

} // namespace tidemark::win32
