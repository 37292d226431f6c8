#include "shared/system/GetOsVer.h"

namespace tidemark {

bool GetOsVer::GetOsVersion(platform::OsVersionInfo& version) {
    const auto v = platform_.os.query();
    version = v.value_or(platform::OsVersionInfo{});
    return v.has_value();
}

bool isXpOrLater(const platform::OsVersionInfo& v) {
    return (v.majorVersion == 5 && v.minorVersion >= 1) || v.majorVersion > 5;
}

} // namespace tidemark
