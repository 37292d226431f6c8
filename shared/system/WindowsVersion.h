// The operating system's version.
#pragma once
#include <optional>
#include "platform/Platform.h"

namespace tidemark {

// nullopt when the query fails.
std::optional<platform::OsVersionInfo> windowsVersion(platform::Platform& platform);

// Windows XP (5.1) or later.
bool isXpOrLater(const platform::OsVersionInfo& version);

} // namespace tidemark
