// Read-only registry access through the W registry functions.
#pragma once
#include "platform/Registry.h"

namespace tidemark::win32 {

class Win32Registry final : public platform::Registry {
public:
    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root,
                                                   std::string_view path) override;
};

} // namespace tidemark::win32
