// The programs running on the machine.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tidemark::platform {

class ProcessSnapshot {
public:
    virtual ~ProcessSnapshot() = default;
    // The executable file name of every running process, in the order the
    // system lists them; nullopt when the processes cannot be read.
    virtual std::optional<std::vector<std::string>> processNames() = 0;
};

} // namespace tidemark::platform
