// Stands in for Jobsmith where the Task Scheduler cannot serve: appends one
// line to the log file named in TIDEMARK_STANDIN_LOG with its command line,
// a tab and the bytes that came on its standard input (without the line end),
// then ends with the exit code in TIDEMARK_STANDIN_EXIT (decimal or 0x hex;
// 0 when not set), or never when TIDEMARK_STANDIN_HANG is set.
#include "platform/win32/WindowsApi.h"

#include <cstdlib>
#include <string>

#include "platform/win32/Win32Text.h"

int main() {
    wchar_t log[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", log, MAX_PATH)) return 2;
    std::string input;
    const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if (in && in != INVALID_HANDLE_VALUE && ::GetFileType(in) == FILE_TYPE_PIPE) {
        char buffer[512];
        DWORD got = 0;
        while (::ReadFile(in, buffer, sizeof buffer, &got, nullptr) && got > 0) input.append(buffer, got);
    }
    while (!input.empty() && (input.back() == '\n' || input.back() == '\r')) input.pop_back();
    const std::string line = tidemark::win32::fromWide(::GetCommandLineW()) + "\t" + input + "\n";
    HANDLE file = ::CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
    // A Jobsmith that never returns, as a scheduler call that hangs.
    if (::GetEnvironmentVariableW(L"TIDEMARK_STANDIN_HANG", nullptr, 0)) ::Sleep(INFINITE);
    wchar_t exit[32] = {};
    if (!::GetEnvironmentVariableW(L"TIDEMARK_STANDIN_EXIT", exit, 32)) return 0;
    return static_cast<int>(std::wcstoul(exit, nullptr, 0));
}
