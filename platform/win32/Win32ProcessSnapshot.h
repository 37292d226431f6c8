// The running processes, from a Tool Help snapshot.
#pragma once
#include "platform/ProcessSnapshot.h"

namespace tidemark::win32 {

class Win32ProcessSnapshot final : public platform::ProcessSnapshot {
public:
    std::optional<std::vector<std::string>> processNames() override;
};

} // namespace tidemark::win32
