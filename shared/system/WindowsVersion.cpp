#include "shared/system/WindowsVersion.h"

namespace tidemark {

std::optional<platform::OsVersionInfo> windowsVersion(platform::Platform& platform) { return platform.os.query(); }

bool isXpOrLater(const platform::OsVersionInfo& v) {
    return (v.majorVersion == 5 && v.minorVersion >= 1) || v.majorVersion > 5;
}

} // namespace tidemark
