// The system's ANSI code page.
#pragma once
#include "platform/CodePage.h"

namespace tidemark::win32 {

class Win32CodePage final : public platform::CodePage {
public:
    std::uint32_t id() override;
    std::string toAnsi(std::string_view utf8) override;
    std::string fromAnsi(std::string_view ansi) override;
    bool isLeadByte(unsigned char byte) override;
};

} // namespace tidemark::win32
