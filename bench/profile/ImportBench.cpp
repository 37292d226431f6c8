// The import of a transfer file into the settings file under Wine or
// Windows: its time for a long list, and how long it holds the settings
// file's lock (the time a running Tidemark's write may have to wait).
//   tm_import_bench [entries for the time] [entries for the lock]
// Targets: 40,000 entries in under 1 s; the lock held under 100 ms for 2,000.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"
#include "transfer/SettingsTransfer.h"

namespace {

using namespace tidemark;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Boxes answered at once: Yes to a question, and counted.
class SilentBoxes final : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(const platform::MessageRequest& request) override {
        last = request.title;
        return platform::MessageAnswer::Yes;
    }
    std::string last;
};

// The real locks, with the longest hold measured.
class TimedLocks final : public platform::Locks {
public:
    explicit TimedLocks(platform::Locks& real) : real_(real) {}
    std::unique_ptr<platform::LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) override {
        auto hold = real_.acquire(name, timeoutMs);
        if (!hold) return nullptr;
        return std::make_unique<Hold>(std::move(hold), longestMs);
    }
    double longestMs = 0;

private:
    class Hold final : public platform::LockHold {
    public:
        Hold(std::unique_ptr<platform::LockHold> real, double& longest)
            : real_(std::move(real)), longest_(longest), start_(Clock::now()) {}
        ~Hold() override { longest_ = std::max(longest_, msSince(start_)); }
        bool mayFollowADeadHolder() const override { return real_->mayFollowADeadHolder(); }

    private:
        std::unique_ptr<platform::LockHold> real_;
        double& longest_;
        Clock::time_point start_;
    };
    platform::Locks& real_;
};

std::string tempFile(const char* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return win32::fromWideBuffer(temp) + name;
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(win32::toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

struct Run {
    double totalMs = 0, lockMs = 0;
    std::size_t transferBytes = 0;
    std::string lastBox;
};

Run importList(win32::Win32Platform& sys, int entries) {
    SilentBoxes boxes;
    TimedLocks locks(sys.platform().locks);
    platform::Platform p = sys.platform();
    platform::Platform timed{p.clock,  p.files,  locks,     p.codePage, p.process,  p.accounts,  p.registry,
                             p.folders, p.display, p.os,     p.launcher, p.access,   boxes,       p.locale,
                             p.memory, p.processes, p.shortcuts, p.instances, p.ramhold, p.events};
    const std::string settings = tempFile("tm_import_bench.ini");
    const std::string transfer = tempFile("tm_import_bench.vesk");
    // A settings file as a running installation has it.
    writeFile(settings, "[AppSettingFlag]\r\nMemCleanRightUser=S-1-5-21-1\r\nMemCleanRightTime=3\r\n"
                        "MemCleanForm=First\r\n[UserAccountName]\r\nS-1-5-21-1=user\r\n"
                        "[ExitTrigProcList]\r\nMine.exe=C:\\Mine.exe\r\n");
    const auto status = p.memory.query();
    std::string text = "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(status ? status->totalPhys : 0) +
                       "\r\nMemCleanForm=Slow\r\n[ExitTrigProcList]\r\n";
    for (int i = 0; i < entries; ++i)
        text += "Program" + std::to_string(i) + ".exe=C:\\Program Files\\Vendor\\Program" + std::to_string(i) + ".exe\r\n";
    writeFile(transfer, text);
    Run run;
    run.transferBytes = text.size();
    const auto start = Clock::now();
    transfer::importSettings(timed, 0, settings, transfer);
    run.totalMs = msSince(start);
    run.lockMs = locks.longestMs;
    run.lastBox = boxes.last;
    ::DeleteFileW(win32::toWide(settings).c_str());
    ::DeleteFileW(win32::toWide(transfer).c_str());
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const int longList = argc > 1 ? std::atoi(argv[1]) : 40000;
    const int shortList = argc > 2 ? std::atoi(argv[2]) : 2000;
    win32::Win32Platform sys;
    importList(sys, 10);   // warm up
    for (int round = 0; round < 3; ++round) {
        const Run a = importList(sys, longList);
        std::printf("import %6d entries (%7zu bytes): %8.1f ms  (target < 1000)  lock %6.1f ms  last box %s\n", longList,
                    a.transferBytes, a.totalMs, a.lockMs, a.lastBox.c_str());
        const Run b = importList(sys, shortList);
        std::printf("import %6d entries (%7zu bytes): %8.1f ms  lock held %6.1f ms (target < 100)\n", shortList,
                    b.transferBytes, b.totalMs, b.lockMs);
    }
    return 0;
}
