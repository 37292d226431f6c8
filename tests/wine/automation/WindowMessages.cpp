#include "automation/WindowMessages.h"

#include "platform/win32/Win32Text.h"

#include <vector>

namespace tidemark::automation {

std::optional<LRESULT> sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs) {
    if (window == nullptr || !::IsWindow(window)) return std::nullopt;
    DWORD_PTR result = 0;
    // A zero time-out with SMTO_ABORTIFHUNG would wait forever.
    const UINT timeout = timeoutMs == 0 ? 1 : timeoutMs;
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, timeout,
                              &result) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window != nullptr && ::PostMessageW(window, message, wParam, lParam) != 0;
}

std::optional<std::string> windowTextByMessage(HWND window, UINT timeoutMs) {
    const std::optional<LRESULT> length = sendMessage(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
    if (!length) return std::nullopt;
    // WM_GETTEXTLENGTH may overstate (never understate) the length.
    std::vector<wchar_t> buffer(static_cast<size_t>(*length) + 1, L'\0');
    const std::optional<LRESULT> copied = sendMessage(window, WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                                                      reinterpret_cast<LPARAM>(buffer.data()), timeoutMs);
    if (!copied) return std::nullopt;
    const size_t count = static_cast<size_t>(*copied) < buffer.size() ? static_cast<size_t>(*copied) : buffer.size() - 1;
    return win32::fromWide(std::wstring_view(buffer.data(), count));
}

std::string windowCaption(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return win32::fromWide(std::wstring_view(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0));
}

std::string windowClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return win32::fromWide(std::wstring_view(name, length > 0 ? static_cast<size_t>(length) : 0));
}

bool sameClassName(const std::string& a, const std::string& b) {
    const std::wstring wa = win32::toWide(a);
    const std::wstring wb = win32::toWide(b);
    return ::CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                                  TRUE) == CSTR_EQUAL;
}

} // namespace tidemark::automation
