// File access lists.
#pragma once
#include "platform/AccessControl.h"

namespace tidemark::win32 {

class Win32AccessControl final : public platform::AccessControl {
public:
    bool grantEveryoneFullControl(const std::string& path) override;
};

} // namespace tidemark::win32
