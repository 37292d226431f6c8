// Console backend of Jobsmith: WriteConsoleW/ReadConsoleW on a console,
// code page 932 bytes on pipes and files.
#include "jobtool/win32/Win32JobConsole.h"

#include <string_view>

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::jobtool::win32 {
namespace {

using tidemark::win32::fromWide;
using tidemark::win32::toWide;

bool isConsole(HANDLE h, DWORD* mode = nullptr) {
    DWORD m = 0;
    const bool console = h != nullptr && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &m) != FALSE;
    if (mode) *mode = m;
    return console;
}

void wipe(std::wstring& text) {
    if (!text.empty()) ::SecureZeroMemory(&text[0], text.size() * sizeof(wchar_t));
    text.clear();
}

void wipe(std::string& text) {
    if (!text.empty()) ::SecureZeroMemory(&text[0], text.size());
    text.clear();
}

// One line from a console, without its line end.
std::optional<std::wstring> readConsoleLine(HANDLE in) {
    std::wstring line;
    bool any = false;
    for (;;) {
        wchar_t c = 0;
        DWORD got = 0;
        if (!::ReadConsoleW(in, &c, 1, &got, nullptr) || got == 0) return any ? std::optional(line) : std::nullopt;
        any = true;
        if (c == L'\n') break;
        if (c == L'\r') continue;
        if (c == 0x1A && line.empty()) return std::nullopt;   // Ctrl+Z: end of input
        if (line.size() < Win32JobConsole::kMaxKeptUnits) line += c;
    }
    return line;
}

// One line from a pipe or a file: UTF-8 after a byte-order mark (the monitor
// sends a password so, whatever its characters), code page 932 otherwise.
std::optional<std::wstring> readByteLine(HANDLE in) {
    std::string bytes;
    bool any = false;
    for (;;) {
        char c = 0;
        DWORD got = 0;
        if (!::ReadFile(in, &c, 1, &got, nullptr) || got == 0) {
            if (!any) return std::nullopt;
            break;
        }
        any = true;
        if (c == '\n') break;
        if (c == '\r') continue;
        if (bytes.size() < Win32JobConsole::kMaxKeptUnits * 4) bytes += c;
    }
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    const bool utf8 = std::string_view(bytes).substr(0, kUtf8Mark.size()) == kUtf8Mark;
    const UINT codePage = utf8 ? CP_UTF8 : Win32JobConsole::kCodePage;
    const char* text = bytes.data() + (utf8 ? kUtf8Mark.size() : 0);
    const int length = static_cast<int>(bytes.size() - (utf8 ? kUtf8Mark.size() : 0));
    std::wstring line;
    if (length > 0) {
        const int n = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
        line.resize(static_cast<std::size_t>(n > 0 ? n : 0));
        if (n > 0) ::MultiByteToWideChar(codePage, 0, text, length, &line[0], n);
    }
    wipe(bytes);
    return line;
}

} // namespace

void Win32JobConsole::write(const std::string& text) {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE || text.empty()) return;
    const std::wstring wide = toWide(text);
    if (isConsole(out)) {
        DWORD written = 0;
        ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const int n = ::WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?",
                                        nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], n, "?", nullptr);
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::optional<std::string> Win32JobConsole::readLine() { return read(false); }
std::optional<std::string> Win32JobConsole::readSecretLine() { return read(true); }

std::optional<std::string> Win32JobConsole::read(bool secret) {
    const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return std::nullopt;
    DWORD mode = 0;
    std::optional<std::wstring> line;
    if (isConsole(in, &mode)) {
        if (secret) ::SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
        line = readConsoleLine(in);
        if (secret) ::SetConsoleMode(in, mode);
    } else {
        line = readByteLine(in);
    }
    if (!line) return std::nullopt;
    std::string text = fromWide(*line);
    if (secret) wipe(*line);
    return text;
}

} // namespace tidemark::jobtool::win32
