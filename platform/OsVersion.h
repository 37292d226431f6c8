// Operating-system version, as the extended version record reports it.
#pragma once
#include <cstdint>
#include <optional>

namespace tidemark::platform {

struct OsVersionInfo {
    std::uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0, platformId = 0;
    std::uint16_t servicePackMajor = 0, servicePackMinor = 0, suiteMask = 0;
    std::uint8_t productType = 0;
};

class OsVersion {
public:
    virtual ~OsVersion() = default;
    virtual std::optional<OsVersionInfo> query() = 0;
};

} // namespace tidemark::platform
