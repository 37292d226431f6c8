// The operating system's version.
#pragma once
#include "platform/Platform.h"

namespace tidemark {

class GetOsVer {
public:
    explicit GetOsVer(platform::Platform& platform) : platform_(platform) {}
    // All fields 0 and false when the query fails.
    bool GetOsVersion(platform::OsVersionInfo& version);

private:
    platform::Platform& platform_;
};

// Windows XP (5.1) or later.
bool isXpOrLater(const platform::OsVersionInfo& version);

} // namespace tidemark
