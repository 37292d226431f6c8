// UTF-8 <-> wide strings at the W API boundary, on top of TextConversion.
#pragma once
#include "platform/TextConversion.h"

#include <string>
#include <string_view>

namespace tidemark::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W APIs take UTF-16");

inline std::wstring toWide(std::string_view utf8) {
    const std::u16string u16 = platform::utf8ToUtf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

inline std::string fromWide(std::wstring_view wide) {
    const std::u16string u16(wide.begin(), wide.end());
    return platform::utf16ToUtf8(u16);
}

// A NUL-terminated buffer filled by an API, up to its first NUL.
inline std::string fromWideBuffer(const wchar_t* text) {
    return text ? fromWide(std::wstring_view(text)) : std::string();
}

} // namespace tidemark::win32
