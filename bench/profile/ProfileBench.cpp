// Read and write latency of the settings engine against the system's own
// profile functions on the same file, as a ratio. Run under Wine or Windows:
//   tm_profile_bench [iterations]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsPer(Clock::time_point start, int count) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

std::string tempFile(const char* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return tidemark::win32::fromWideBuffer(temp) + name;
}

// A settings file of a realistic size: the cleaner's keys and a few users.
void seed(const std::string& path) {
    ::DeleteFileW(tidemark::win32::toWide(path).c_str());
    const char* keys[] = {"MemCleanRightUser", "MemCleanRightTime", "ShExTime", "MemCleanExeMemSize", "MemCleanSize",
                          "MemCleanForm", "SlowMemCleanSetting", "PhysMemSize", "ProcWatchSetting", "STMCProcReplaceFlag"};
    for (const char* k : keys) ::WritePrivateProfileStringA("AppSettingFlag", k, "12345", path.c_str());
    for (int u = 0; u < 8; ++u) {
        const std::string sid = "S-1-5-21-1004336348-1177238915-682003330-" + std::to_string(1000 + u);
        ::WritePrivateProfileStringA("UserAccountName", sid.c_str(), "user", path.c_str());
        ::WritePrivateProfileStringA("GetRightChallenge", sid.c_str(), "3", path.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 2000;
    tidemark::win32::Win32Platform sys;
    tidemark::profile::ProfileEngine engine(sys.platform());
    const std::string systemFile = tempFile("tm_bench_system.ini");
    const std::string engineFile = tempFile("tm_bench_engine.ini");
    seed(systemFile);
    seed(engineFile);

    char buffer[256];
    auto t = Clock::now();
    for (int i = 0; i < n; ++i)
        ::GetPrivateProfileStringA("GetRightChallenge", "S-1-5-21-1004336348-1177238915-682003330-1005", "", buffer,
                                   255, systemFile.c_str());
    const double systemRead = microsecondsPer(t, n);
    t = Clock::now();
    for (int i = 0; i < n; ++i)
        engine.getString(std::string("GetRightChallenge"), std::string("S-1-5-21-1004336348-1177238915-682003330-1005"),
                         std::string(), 255, engineFile);
    const double engineRead = microsecondsPer(t, n);

    const int writes = n / 4 > 0 ? n / 4 : 1;
    t = Clock::now();
    for (int i = 0; i < writes; ++i)
        ::WritePrivateProfileStringA("AppSettingFlag", "MemCleanRightTime", std::to_string(i % 4).c_str(),
                                     systemFile.c_str());
    const double systemWrite = microsecondsPer(t, writes);
    t = Clock::now();
    for (int i = 0; i < writes; ++i)
        engine.writeString(std::string("AppSettingFlag"), std::string("MemCleanRightTime"), std::to_string(i % 4),
                           engineFile);
    const double engineWrite = microsecondsPer(t, writes);

    std::printf("read : engine %8.1f us  system %8.1f us  ratio %.2f\n", engineRead, systemRead, engineRead / systemRead);
    std::printf("write: engine %8.1f us  system %8.1f us  ratio %.2f\n", engineWrite, systemWrite,
                engineWrite / systemWrite);
    ::DeleteFileW(tidemark::win32::toWide(systemFile).c_str());
    ::DeleteFileW(tidemark::win32::toWide(engineFile).c_str());
    return 0;
}
