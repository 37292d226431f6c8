// The system's ANSI code page (932 on Japanese Windows), in which settings
// files are stored and in which the suite counts characters.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tidemark::platform {

class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::uint32_t id() = 0;
    // UTF-8 to ANSI bytes; characters the code page lacks become '?'.
    virtual std::string toAnsi(std::string_view utf8) = 0;
    // ANSI bytes to UTF-8; invalid sequences become U+FFFD or '?'.
    virtual std::string fromAnsi(std::string_view ansi) = 0;
    virtual bool isLeadByte(unsigned char byte) = 0;
};

} // namespace tidemark::platform
