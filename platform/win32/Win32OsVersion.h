// The operating-system version record.
#pragma once
#include "platform/OsVersion.h"

namespace tidemark::win32 {

class Win32OsVersion final : public platform::OsVersion {
public:
    std::optional<platform::OsVersionInfo> query() override;
};

} // namespace tidemark::win32
