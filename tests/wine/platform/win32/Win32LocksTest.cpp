// The lock backend: waiting, time-outs and holders that die, between
// threads and between processes.
#include "platform/win32/Win32Locks.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace tidemark::win32 {
namespace {

using Hold = std::unique_ptr<platform::LockHold>;

std::string uniqueLockName(const char* what) {
    static int counter = 0;
    return std::string("C:\\ProgramData\\Tidemark\\") + what + "-" + std::to_string(::GetCurrentProcessId()) +
           "-" + std::to_string(++counter) + ".ini";
}

// Tries the lock from a thread of its own, releasing it there at once.
bool acquireFromAnotherThread(const std::string& name, std::uint32_t timeoutMs, std::uint64_t* waitedMs = nullptr) {
    bool acquired = false;
    std::thread other([&] {
        Win32Locks locks;
        const auto start = ::GetTickCount64();
        Hold hold = locks.acquire(name, timeoutMs);
        if (waitedMs) *waitedMs = ::GetTickCount64() - start;
        acquired = hold != nullptr;
    });
    other.join();
    return acquired;
}

TEST(Win32Locks, HeldLockTimesOutElsewhereAndIsFreeAfterRelease) {
    Win32Locks locks;
    const std::string name = uniqueLockName("settings");
    Hold hold = locks.acquire(name, 1000);
    ASSERT_NE(hold, nullptr);

    std::uint64_t waited = 0;
    EXPECT_FALSE(acquireFromAnotherThread(name, 300, &waited));
    EXPECT_GE(waited, 250u);

    hold.reset();
    EXPECT_TRUE(acquireFromAnotherThread(name, 300));
}

TEST(Win32Locks, WaiterGetsTheLockWhenTheHolderReleasesInTime) {
    Win32Locks locks;
    const std::string name = uniqueLockName("handover");
    Hold hold = locks.acquire(name, 1000);
    ASSERT_NE(hold, nullptr);
    bool acquired = false;
    std::thread waiter([&] {
        Win32Locks mine;
        acquired = mine.acquire(name, 5000) != nullptr;
    });
    ::Sleep(200);
    hold.reset();
    waiter.join();
    EXPECT_TRUE(acquired);
}

TEST(Win32Locks, DifferentNamesDoNotBlockEachOther) {
    Win32Locks locks;
    Hold hold = locks.acquire(uniqueLockName("one"), 1000);
    ASSERT_NE(hold, nullptr);
    EXPECT_TRUE(acquireFromAnotherThread(uniqueLockName("two"), 100));
}

TEST(Win32Locks, NamesDifferingOnlyInCaseAreOneLock) {
    Win32Locks locks;
    const std::string name = uniqueLockName("Case");
    Hold hold = locks.acquire(name, 1000);
    ASSERT_NE(hold, nullptr);
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    ASSERT_NE(upper, name);
    EXPECT_FALSE(acquireFromAnotherThread(upper, 100));
}

TEST(Win32Locks, HolderThreadThatExitsAbandonsTheLock) {
    Win32Locks locks;
    const std::string name = uniqueLockName("abandoned");
    Hold leaked;
    std::thread holder([&] { leaked = locks.acquire(name, 1000); });
    holder.join();
    ASSERT_NE(leaked, nullptr);

    Hold hold = locks.acquire(name, 1000);
    EXPECT_NE(hold, nullptr);
    hold.reset();
    leaked.reset();   // a release from the wrong thread is refused; the handle still closes
    EXPECT_TRUE(acquireFromAnotherThread(name, 100));
}

TEST(Win32Locks, ObjectNameHasNoBackslashBeyondTheNamespace) {
    const std::string object = lockObjectName("C:\\Users\\Taro\\AppData\\Settings:Main.INI");
    EXPECT_EQ(object.rfind("Global\\", 0), 0u) << object;
    EXPECT_EQ(object.find('\\', 7), std::string::npos) << object;
    EXPECT_EQ(object.find(':'), std::string::npos) << object;
    EXPECT_EQ(object, lockObjectName("c:\\users\\taro\\appdata\\settings:main.ini"));
}

TEST(Win32Locks, LongNamesAreShortenedButStayDistinct) {
    const std::string stem(400, 'a');
    const std::string first = lockObjectName(stem + "1");
    const std::string second = lockObjectName(stem + "2");
    EXPECT_LT(toWide(first).size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_NE(first, second);

    Win32Locks locks;
    Hold hold = locks.acquire(stem + "1", 1000);
    ASSERT_NE(hold, nullptr);
    EXPECT_TRUE(acquireFromAnotherThread(stem + "2", 100));
    EXPECT_FALSE(acquireFromAnotherThread(stem + "1", 100));
}

TEST(Win32Locks, EveryoneMayWaitOnAndReleaseTheLock) {
    Win32Locks locks;
    const std::string name = uniqueLockName("shared");
    Hold hold = locks.acquire(name, 1000);
    ASSERT_NE(hold, nullptr);

    UniqueKernelHandle mutex(::OpenMutexW(READ_CONTROL, FALSE, toWide(lockObjectName(name)).c_str()));
    ASSERT_TRUE(mutex.valid()) << ::GetLastError();
    PACL dacl = nullptr;
    LocalPtr<void> descriptor;
    ASSERT_EQ(::GetSecurityInfo(mutex.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, descriptor.receive()),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    const auto entries = test::allowedEntries(dacl);
    const auto everyone = std::find_if(entries.begin(), entries.end(),
                                       [](const test::AllowedEntry& e) { return e.sid == test::kEveryoneSid; });
    ASSERT_NE(everyone, entries.end());
    EXPECT_EQ(everyone->mask, static_cast<DWORD>(SYNCHRONIZE | MUTEX_MODIFY_STATE));
}

// Another process taking the lock, started from the helper beside this
// program.
class LockHolderProcess {
public:
    LockHolderProcess(const char* mode, const std::string& lockName) {
        static int counter = 0;
        const std::wstring eventName = L"Local\\tidemark-test-ready-" + std::to_wstring(::GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter);
        ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        if (!ready_) return;
        const std::wstring program = toWide(test::programFolder()) + L"\\tm_win32_lock_holder.exe";
        std::wstring commandLine = L"\"" + program + L"\" " + toWide(mode) + L" \"" + toWide(lockName) + L"\" " +
                                   eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info)) {
            return;
        }
        ::CloseHandle(info.hThread);
        process_.reset(info.hProcess);
    }

    ~LockHolderProcess() { kill(); }

    bool started() const { return process_.valid(); }

    // True once the helper reports it holds the lock.
    bool waitUntilHolding(DWORD timeoutMs) {
        if (!process_) return false;
        const HANDLE waitOn[] = {ready_.get(), process_.get()};
        return ::WaitForMultipleObjects(2, waitOn, FALSE, timeoutMs) == WAIT_OBJECT_0;
    }

    void kill() {
        if (!process_) return;
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 10000);
        process_.reset();
    }

    bool waitForExit() {
        return process_ && ::WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0;
    }

private:
    UniqueKernelHandle ready_;
    UniqueKernelHandle process_;
};

TEST(Win32LocksAcrossProcesses, HeldByAnotherProcessTimesOutThenKilledHolderAbandonsIt) {
    const std::string name = uniqueLockName("process");
    LockHolderProcess holder("hold", name);
    ASSERT_TRUE(holder.started());
    ASSERT_TRUE(holder.waitUntilHolding(20000));

    Win32Locks locks;
    EXPECT_EQ(locks.acquire(name, 300), nullptr);

    holder.kill();
    Hold hold = locks.acquire(name, 2000);
    EXPECT_NE(hold, nullptr);
}

TEST(Win32LocksAcrossProcesses, HolderThatExitsWithoutReleasingAbandonsIt) {
    const std::string name = uniqueLockName("exited");
    LockHolderProcess holder("exit", name);
    ASSERT_TRUE(holder.started());
    ASSERT_TRUE(holder.waitUntilHolding(20000));
    ASSERT_TRUE(holder.waitForExit());

    Win32Locks locks;
    Hold hold = locks.acquire(name, 2000);
    EXPECT_NE(hold, nullptr);
}

TEST(Win32LocksAcrossProcesses, AnotherProcessWaitsForOurHold) {
    const std::string name = uniqueLockName("ours");
    Win32Locks locks;
    Hold hold = locks.acquire(name, 1000);
    ASSERT_NE(hold, nullptr);

    LockHolderProcess waiter("exit", name);
    ASSERT_TRUE(waiter.started());
    EXPECT_FALSE(waiter.waitUntilHolding(1000));
    hold.reset();
    EXPECT_TRUE(waiter.waitUntilHolding(20000));
    EXPECT_TRUE(waiter.waitForExit());
}

// Whether a holder may have died since the lock was last given back: true
// for a lock no process had open and after a holder that died holding it,
// false after a proper release (the write path then skips its sweep for
// temporary files).
TEST(Win32Locks, AHoldSaysWhetherAHolderMayHaveDiedBeforeIt) {
    Win32Locks locks;
    const std::string name = uniqueLockName("dead-holder");
    Hold first = locks.acquire(name, 1000);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->mayFollowADeadHolder());
    first.reset();
    Hold second = locks.acquire(name, 1000);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->mayFollowADeadHolder());
    second.reset();

    bool otherSaw = true;
    std::thread other([&] {
        Win32Locks mine;
        Hold hold = mine.acquire(name, 1000);
        otherSaw = hold && hold->mayFollowADeadHolder();
    });
    other.join();
    EXPECT_FALSE(otherSaw);

    // A thread that ends holding the lock abandons it.
    std::thread dying([&] {
        Win32Locks mine;
        Hold hold = mine.acquire(name, 1000);
        ASSERT_NE(hold, nullptr);
        (void)hold.release();
    });
    dying.join();
    Hold after = locks.acquire(name, 1000);
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(after->mayFollowADeadHolder());
}

} // namespace
} // namespace tidemark::win32
