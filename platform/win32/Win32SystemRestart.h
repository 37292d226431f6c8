// Restart of Windows through ExitWindowsEx, never forced.
#pragma once
#include "platform/SystemRestart.h"

namespace tidemark::win32 {

class Win32SystemRestart final : public platform::SystemRestart {
public:
    std::optional<std::uint32_t> restart() override;
};

} // namespace tidemark::win32
