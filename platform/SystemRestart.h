// Restarting Windows on the user's request.
#pragma once
#include <cstdint>
#include <optional>

namespace tidemark::platform {

inline constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;   // ERROR_PRIVILEGE_NOT_HELD

class SystemRestart {
public:
    virtual ~SystemRestart() = default;
    // Asks the system for an orderly restart with the shutdown privilege
    // enabled: programs may still ask their users to save, and none is ended
    // by force. nullopt when the restart is under way, else the error code.
    virtual std::optional<std::uint32_t> restart() = 0;
};

} // namespace tidemark::platform
