// UTF-8 <-> UTF-16 in one place, sizes checked. Invalid input becomes U+FFFD.
#pragma once
#include <string>
#include <string_view>

namespace tidemark::platform {

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

} // namespace tidemark::platform
