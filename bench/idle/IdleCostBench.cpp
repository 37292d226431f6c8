// Tidemark's cost while idle, against a minimal tray program under the same
// system: CPU time and memory over a stretch of idle running, as ratios.
//   tm_idle_bench [seconds]   (default 180)
// Each program settles for ten seconds first (Tidemark cleans once at start).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Text.h"
#include <psapi.h>

namespace {

using tidemark::win32::fromWideBuffer;
using tidemark::win32::toWide;

struct Cost {
    double cpuSeconds = 0;
    double workingSetMB = 0;
    double privateMB = 0;
};

double cpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

Cost measure(const std::string& exe, const std::string& folder, int seconds) {
    Cost cost;
    std::wstring command = L"\"" + toWide(exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, toWide(folder).c_str(), &si,
                          &pi)) {
        std::printf("cannot start %s (%lu)\n", exe.c_str(), ::GetLastError());
        return cost;
    }
    ::Sleep(10000);
    const double before = cpuSeconds(pi.hProcess);
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    cost.cpuSeconds = cpuSeconds(pi.hProcess) - before;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        cost.workingSetMB = memory.WorkingSetSize / 1048576.0;
        cost.privateMB = memory.PrivateUsage / 1048576.0;
    }
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return cost;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 180;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string bin = fromWideBuffer(self);
    bin = bin.substr(0, bin.find_last_of('\\'));
    // Tidemark runs from a folder of its own so that its settings file is fresh.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::string folder = fromWideBuffer(temp) + "tm_idle_bench";
    ::CreateDirectoryW(toWide(folder).c_str(), nullptr);
    for (const char* file : {"Tidemark.exe", "Ramhold.dll"})
        ::CopyFileW(toWide(bin + "\\" + file).c_str(), toWide(folder + "\\" + file).c_str(), FALSE);
    ::DeleteFileW(toWide(folder + "\\Tidemark.ini").c_str());

    const Cost tidemark = measure(folder + "\\Tidemark.exe", folder, seconds);
    const Cost minimal = measure(bin + "\\tm_minimal_tray.exe", bin, seconds);
    std::printf("idle %d s   cpu(s)  working set(MB)  private(MB)\n", seconds);
    std::printf("Tidemark    %6.2f  %15.1f  %11.1f\n", tidemark.cpuSeconds, tidemark.workingSetMB, tidemark.privateMB);
    std::printf("minimal     %6.2f  %15.1f  %11.1f\n", minimal.cpuSeconds, minimal.workingSetMB, minimal.privateMB);
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("ratio       %6.2f  %15.2f  %11.2f\n", ratio(tidemark.cpuSeconds, minimal.cpuSeconds),
                ratio(tidemark.workingSetMB, minimal.workingSetMB), ratio(tidemark.privateMB, minimal.privateMB));
    return 0;
}
