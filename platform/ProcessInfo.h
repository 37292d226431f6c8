// Facts about the running process itself.
#pragma once
#include <optional>
#include <string>

namespace tidemark::platform {

class ProcessInfo {
public:
    virtual ~ProcessInfo() = default;
    // Full path of the program's own executable.
    virtual std::string executablePath() = 0;
    // The raw command line as the system gives it, converted to UTF-8.
    virtual std::string commandLine() = 0;
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
};

} // namespace tidemark::platform
