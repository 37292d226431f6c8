// Process backend: module path, raw command line, environment variables.
#include "platform/win32/Win32ProcessInfo.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <vector>

namespace tidemark::win32 {

std::string Win32ProcessInfo::executablePath() {
    // Installs under long paths exceed MAX_PATH; the call truncates silently
    // and fills the buffer, so grow until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return fromWide(std::wstring_view(buffer.data(), length));
        if (buffer.size() >= 32768) return fromWide(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32ProcessInfo::commandLine() {
    return fromWideBuffer(::GetCommandLineW());
}

std::optional<std::string> Win32ProcessInfo::environmentVariable(const std::string& name) {
    const std::wstring wideName = toWide(name);
    std::vector<wchar_t> buffer(256);
    for (int attempt = 0; attempt < 4; ++attempt) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                       static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            // Zero is also the length of a variable set to the empty string.
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        // Too small: the answer is the size needed, terminator included.
        if (length < buffer.size()) return fromWide(std::wstring_view(buffer.data(), length));
        buffer.resize(length);
    }
    return std::nullopt;
}

} // namespace tidemark::win32
