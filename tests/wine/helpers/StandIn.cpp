// Stands in for a program another one starts (a system tool, or a program
// planted where a careless start would find it): appends its own path and
// command line as one line to the log file named in the environment
// variable TIDEMARK_STANDIN_LOG, then ends. Shows nothing.
#include "platform/win32/WindowsApi.h"

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t log[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", log, MAX_PATH)) return 2;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring line = std::wstring(self) + L"|" + ::GetCommandLineW() + L"\r\n";
    HANDLE file = ::CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    // UTF-16 without a mark; the reader converts.
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
