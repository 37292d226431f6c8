// Read and write latency of the settings engine against the system's own
// profile functions on the same file, as a ratio, and where one write's time
// goes (the file and lock calls it makes, and the rest). The engine flushes
// each new file before it takes the old one's place, which the system's
// write does not: its write is also compared with a durable baseline, the
// system's write followed by a flush of the file. Run under Wine or
// Windows:
//   tm_profile_bench [iterations]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
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

// The system's write made durable: the file's data flushed to the disk.
void flushFile(const std::string& path) {
    const HANDLE file = ::CreateFileW(tidemark::win32::toWide(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    ::FlushFileBuffers(file);
    ::CloseHandle(file);
}

// The real file system and locks, each call timed.
class Profile {
public:
    std::map<std::string, double> us;
    template <class Call>
    auto time(const char* what, Call call) {
        const auto start = Clock::now();
        struct Add {
            Profile& p;
            const char* what;
            Clock::time_point start;
            ~Add() { p.us[what] += std::chrono::duration<double, std::micro>(Clock::now() - start).count(); }
        } add{*this, what, start};
        return call();
    }
};

class TimedFiles final : public tidemark::platform::FileSystem {
public:
    TimedFiles(tidemark::platform::FileSystem& real, Profile& profile) : real_(real), p_(profile) {}
    tidemark::platform::FileReadResult readAll(const std::string& path) override {
        return p_.time("readAll", [&] { return real_.readAll(path); });
    }
    std::uint32_t replaceContents(const std::string& path, std::string_view bytes) override {
        return p_.time("replaceContents", [&] { return real_.replaceContents(path, bytes); });
    }
    std::uint32_t rewriteInPlace(const std::string& path, std::string_view bytes) override {
        return p_.time("rewriteInPlace", [&] { return real_.rewriteInPlace(path, bytes); });
    }
    std::string canonicalPath(const std::string& path) override {
        return p_.time("canonicalPath", [&] { return real_.canonicalPath(path); });
    }
    std::string absolutePath(const std::string& path) override {
        return p_.time("absolutePath", [&] { return real_.absolutePath(path); });
    }
    std::uint32_t createDirectory(const std::string& path) override { return real_.createDirectory(path); }
    bool fileExists(const std::string& path) override { return real_.fileExists(path); }
    std::optional<std::uint64_t> fileSize(const std::string& path) override { return real_.fileSize(path); }
    bool directoryExists(const std::string& path) override { return real_.directoryExists(path); }
    bool deleteFile(const std::string& path) override { return real_.deleteFile(path); }
    int deleteMatching(const std::string& folder, const std::string& pattern) override {
        return p_.time("deleteMatching", [&] { return real_.deleteMatching(folder, pattern); });
    }
    std::optional<std::string> folderIdentity(const std::string& folder) override {
        return p_.time("folderIdentity", [&] { return real_.folderIdentity(folder); });
    }

private:
    tidemark::platform::FileSystem& real_;
    Profile& p_;
};

class TimedLocks final : public tidemark::platform::Locks {
public:
    TimedLocks(tidemark::platform::Locks& real, Profile& profile) : real_(real), p_(profile) {}
    std::unique_ptr<tidemark::platform::LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) override {
        auto hold = p_.time("lock acquire", [&] { return real_.acquire(name, timeoutMs); });
        if (!hold) return nullptr;
        return std::make_unique<Hold>(std::move(hold), p_);
    }

private:
    class Hold final : public tidemark::platform::LockHold {
    public:
        Hold(std::unique_ptr<tidemark::platform::LockHold> real, Profile& p) : real_(std::move(real)), p_(p) {}
        ~Hold() override { p_.time("lock release", [&] { real_.reset(); return 0; }); }
        bool mayFollowADeadHolder() const override { return real_->mayFollowADeadHolder(); }

    private:
        std::unique_ptr<tidemark::platform::LockHold> real_;
        Profile& p_;
    };
    tidemark::platform::Locks& real_;
    Profile& p_;
};

// Where the time of one write goes, averaged over many.
void profileWrites(tidemark::win32::Win32Platform& sys, const std::string& path, int writes) {
    Profile profile;
    TimedFiles files(sys.platform().files, profile);
    TimedLocks locks(sys.platform().locks, profile);
    tidemark::platform::Platform p = sys.platform();
    tidemark::platform::Platform timed{p.clock,    p.files,    locks,   p.codePage, p.process,   p.accounts, p.registry,
                                       p.folders,  p.display,  p.os,    p.launcher, p.access,    p.messages, p.locale,
                                       p.memory,   p.processes, p.shortcuts, p.instances, p.ramhold, p.events};
    tidemark::platform::Platform withFiles{timed.clock,   files,        timed.locks,  timed.codePage, timed.process,
                                           timed.accounts, timed.registry, timed.folders, timed.display, timed.os,
                                           timed.launcher, timed.access, timed.messages, timed.locale, timed.memory,
                                           timed.processes, timed.shortcuts, timed.instances, timed.ramhold, timed.events};
    tidemark::profile::ProfileEngine engine(withFiles);
    const auto start = Clock::now();
    for (int i = 0; i < writes; ++i)
        engine.writeString(std::string("AppSettingFlag"), std::string("MemCleanRightTime"), std::to_string(i % 4), path);
    const double total = microsecondsPer(start, writes);
    double calls = 0;
    std::printf("one write: %.1f us\n", total);
    for (const auto& [what, us] : profile.us) {
        std::printf("  %-16s %8.1f us\n", what.c_str(), us / writes);
        calls += us / writes;
    }
    std::printf("  %-16s %8.1f us\n", "engine itself", total - calls);
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

    // The two sides take turns in short blocks, so that a moment of load
    // from elsewhere on the machine falls on both.
    constexpr int kBlock = 25;
    char buffer[256];
    double systemRead = 0, engineRead = 0, systemWrite = 0, durableWrite = 0, engineWrite = 0;
    for (int done = 0; done < n; done += kBlock) {
        auto t = Clock::now();
        for (int i = 0; i < kBlock; ++i)
            ::GetPrivateProfileStringA("GetRightChallenge", "S-1-5-21-1004336348-1177238915-682003330-1005", "", buffer,
                                       255, systemFile.c_str());
        systemRead += microsecondsPer(t, n);
        t = Clock::now();
        for (int i = 0; i < kBlock; ++i)
            engine.getString(std::string("GetRightChallenge"),
                             std::string("S-1-5-21-1004336348-1177238915-682003330-1005"), std::string(), 255,
                             engineFile);
        engineRead += microsecondsPer(t, n);
    }
    const int writes = std::max(n / 4, kBlock);
    for (int done = 0; done < writes; done += kBlock) {
        auto t = Clock::now();
        for (int i = done; i < done + kBlock; ++i)
            ::WritePrivateProfileStringA("AppSettingFlag", "MemCleanRightTime", std::to_string(i % 4).c_str(),
                                         systemFile.c_str());
        systemWrite += microsecondsPer(t, writes);
        t = Clock::now();
        for (int i = done; i < done + kBlock; ++i) {
            ::WritePrivateProfileStringA("AppSettingFlag", "MemCleanRightTime", std::to_string(i % 4).c_str(),
                                         systemFile.c_str());
            flushFile(systemFile);
        }
        durableWrite += microsecondsPer(t, writes);
        t = Clock::now();
        for (int i = done; i < done + kBlock; ++i)
            engine.writeString(std::string("AppSettingFlag"), std::string("MemCleanRightTime"), std::to_string(i % 4),
                               engineFile);
        engineWrite += microsecondsPer(t, writes);
    }

    profileWrites(sys, engineFile, writes);
    std::printf("read : engine %8.1f us  system %8.1f us  ratio %.2f\n", engineRead, systemRead, engineRead / systemRead);
    std::printf("write: engine %8.1f us  system %8.1f us  ratio %.2f\n", engineWrite, systemWrite,
                engineWrite / systemWrite);
    std::printf("write: engine %8.1f us  system + flush %8.1f us  ratio %.2f\n", engineWrite, durableWrite,
                engineWrite / durableWrite);
    ::DeleteFileW(tidemark::win32::toWide(systemFile).c_str());
    ::DeleteFileW(tidemark::win32::toWide(engineFile).c_str());
    return 0;
}
