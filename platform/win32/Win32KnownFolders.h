// Shell folder paths by CSIDL.
#pragma once
#include "platform/KnownFolders.h"

namespace tidemark::win32 {

class Win32KnownFolders final : public platform::KnownFolders {
public:
    std::optional<std::string> folderPath(int csidl) override;
};

} // namespace tidemark::win32
