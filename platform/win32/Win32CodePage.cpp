// Code-page backend: conversions through CP_ACP with the system defaults.
#include "platform/win32/Win32CodePage.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <climits>

namespace tidemark::win32 {

std::uint32_t Win32CodePage::id() {
    return ::GetACP();
}

std::string Win32CodePage::toAnsi(std::string_view utf8) {
    const std::wstring wide = toWide(utf8);
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
    const int length = static_cast<int>(wide.size());
    // Default flags and default character: what the system's own W-to-A
    // paths (the profile functions among them) produce.
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string out(static_cast<std::size_t>(needed), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &out[0], needed, nullptr, nullptr);
    out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return out;
}

std::string Win32CodePage::fromAnsi(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
    const int length = static_cast<int>(ansi.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (needed <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return fromWide(wide);
}

bool Win32CodePage::isLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

} // namespace tidemark::win32
