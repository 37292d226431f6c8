// Several processes writing one settings file at once, and writers killed
// midway: nothing written is lost and the file is never torn.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <string>
#include <vector>

#include "platform/TextConversion.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::profile {
namespace {

using std::string;

std::wstring wide(const string& utf8) {
    const std::u16string w = platform::utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

string ownFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    string p = platform::utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(path), n));
    return p.substr(0, p.find_last_of('\\'));
}

HANDLE startWriter(const std::wstring& arguments) {
    std::wstring cmd = L"\"" + wide(ownFolder() + "\\tm_profile_writer.exe") + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

class ProfileConcurrency : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = platform::utf16ToUtf8(reinterpret_cast<const char16_t*>(temp)) + "tm_profile_conc_" +
                  std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryW(wide(folder_).c_str(), nullptr);
        path_ = folder_ + "\\Tidemark.ini";
    }
    void TearDown() override {
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW(wide(folder_ + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ::DeleteFileW((wide(folder_) + L"\\" + fd.cFileName).c_str());
            } while (::FindNextFileW(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryW(wide(folder_).c_str());
    }
    int temporaryFiles() {
        int n = 0;
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW(wide(path_ + ".~*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return 0;
        do ++n; while (::FindNextFileW(h, &fd));
        ::FindClose(h);
        return n;
    }
    string rawFile() {
        const auto r = sys_.platform().files.readAll(path_);
        return r.ok ? r.bytes : string();
    }

    win32::Win32Platform sys_;
    string folder_, path_;
};

TEST_F(ProfileConcurrency, EightWritersAtOnceLoseNoKey) {
    constexpr int kWriters = 8, kWrites = 500;
    const std::wstring eventName = L"tm_profile_go_" + std::to_wstring(::GetCurrentProcessId());
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(go, nullptr);
    std::vector<HANDLE> writers;
    for (int id = 0; id < kWriters; ++id) {
        HANDLE p = startWriter(L"keys \"" + wide(path_) + L"\" " + std::to_wstring(id) + L" " +
                               std::to_wstring(kWrites) + L" " + eventName);
        ASSERT_NE(p, nullptr);
        writers.push_back(p);
    }
    ::Sleep(500);   // let every writer reach its wait
    ::SetEvent(go);
    for (HANDLE p : writers) {
        ASSERT_EQ(::WaitForSingleObject(p, 600000), WAIT_OBJECT_0);
        DWORD code = 99;
        ::GetExitCodeProcess(p, &code);
        EXPECT_EQ(code, 0u) << "a writer saw a failed write";
        ::CloseHandle(p);
    }
    ::CloseHandle(go);

    ProfileEngine engine(sys_.platform());
    const auto list = engine.getString(string("w"), std::nullopt, std::nullopt, 1u << 20, path_);
    int keys = 0;
    for (char c : list.ansi) keys += c == '\0';
    EXPECT_EQ(keys, kWriters * kWrites + 1);
    int wrong = 0;
    for (int id = 0; id < kWriters; ++id)
        for (int n = 0; n < kWrites; ++n)
            wrong += engine.readValue("w", "p" + std::to_string(id) + "k" + std::to_string(n), 255, path_).text !=
                     std::to_string(n);
    EXPECT_EQ(wrong, 0);
    // The shared key holds the last value one of the writers gave it.
    const string shared = engine.readValue("w", "shared", 255, path_).text;
    EXPECT_EQ(shared.substr(shared.find(':')), ":490") << shared;
    EXPECT_EQ(temporaryFiles(), 0);
}

TEST_F(ProfileConcurrency, WriterKilledMidwayNeverLeavesATornFile) {
    ProfileEngine engine(sys_.platform());
    for (int i = 0; i < 2500; ++i) ASSERT_TRUE(engine.writeString("w", "k" + std::to_string(i), "seed", path_));
    const string header = "[w]\r\n";
    std::mt19937 random(12345);
    int leftovers = 0;
    const std::wstring eventName = L"tm_profile_ready_" + std::to_wstring(::GetCurrentProcessId());
    for (int round = 0; round < 100; ++round) {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        HANDLE p = startWriter(L"loop \"" + wide(path_) + L"\" " + eventName);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(::WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
        ::Sleep(std::uniform_int_distribution<int>(0, 40)(random));
        ::TerminateProcess(p, 9);
        ::WaitForSingleObject(p, 30000);
        ::CloseHandle(p);
        ::CloseHandle(ready);

        const string bytes = rawFile();
        ASSERT_EQ(bytes.compare(0, header.size(), header), 0) << "round " << round;
        std::size_t lines = 0, pos = header.size();
        while (pos < bytes.size()) {
            const auto end = bytes.find("\r\n", pos);
            ASSERT_NE(end, string::npos) << "round " << round << ": unterminated line";
            const string line = bytes.substr(pos, end - pos);
            ASSERT_EQ(line[0], 'k') << "round " << round << ": " << line;
            ASSERT_NE(line.find('='), string::npos) << "round " << round << ": " << line;
            ++lines;
            pos = end + 2;
        }
        ASSERT_EQ(lines, 2500u) << "round " << round;
        leftovers += temporaryFiles() > 0;
        ASSERT_LE(temporaryFiles(), 1);
    }
    // The next writer sweeps what a killed one left behind.
    ASSERT_TRUE(engine.writeString("w", "k0", "after", path_));
    EXPECT_EQ(temporaryFiles(), 0);
    std::printf("killed midway with a temporary file left: %d of 100\n", leftovers);
}

// A copy started through the 8.3 name of the install folder and one started
// through its long name write one file: they must take one lock.
TEST_F(ProfileConcurrency, WritersThroughTheShortAndTheLongPathTakeOneLock) {
    const std::string longFolder = "C:\\ProgramData\\Tidemark Long Install " + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryW(win32::toWide(longFolder).c_str(), nullptr);
    wchar_t shortName[MAX_PATH];
    ASSERT_GT(::GetShortPathNameW(win32::toWide(longFolder).c_str(), shortName, MAX_PATH), 0u);
    const std::string shortFolder = win32::fromWideBuffer(shortName);
    ASSERT_NE(shortFolder, longFolder);

    win32::Win32Platform system;
    profile::ProfileEngine engine(system.platform());
    const std::string longPath = longFolder + "\\Tidemark.ini";
    auto hold = system.platform().locks.acquire(engine.lockNameFor(longPath), 1000);
    ASSERT_NE(hold, nullptr);
    std::uint64_t waited = 0;
    bool written = false;
    std::thread writer([&] {
        win32::Win32Platform mine;
        profile::ProfileEngine shortEngine(mine.platform());
        const auto start = ::GetTickCount64();
        written = shortEngine.writeString("s", "k", "v", shortFolder + "\\Tidemark.ini");
        waited = ::GetTickCount64() - start;
    });
    ::Sleep(700);
    hold.reset();
    writer.join();
    EXPECT_TRUE(written);
    EXPECT_GE(waited, 600u) << "the short path's writer did not wait for the long path's lock";
    EXPECT_EQ(engine.readValue("s", "k", 255, longPath).text, "v");
    ::DeleteFileW(win32::toWide(longPath).c_str());
    ::RemoveDirectoryW(win32::toWide(longFolder).c_str());
}

// The same folder through Wine's Z: drive: two writers of 800 keys each,
// one through each spelling, lose nothing (named after the spelling, each
// took a lock of its own and keys went missing).
TEST_F(ProfileConcurrency, WritersThroughAnotherDriveLetterLoseNoKey) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName =
        reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) GTEST_SKIP() << "no Z: drive outside Wine";
    char* unix = unixName(wide(path_).c_str());
    ASSERT_NE(unix, nullptr);
    string zPath = "Z:";
    for (const char* c = unix; *c; ++c) zPath += *c == '/' ? '\\' : *c;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    ASSERT_NE(zPath.substr(0, 2), path_.substr(0, 2));

    ProfileEngine engine(sys_.platform());
    EXPECT_EQ(engine.lockNameFor(zPath), engine.lockNameFor(path_));
    constexpr int kWrites = 800;
    const std::wstring eventName = L"tm_profile_alias_" + std::to_wstring(::GetCurrentProcessId());
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(go, nullptr);
    std::vector<HANDLE> writers;
    for (const string& spelling : {path_, zPath}) {
        HANDLE p = startWriter(L"keys \"" + wide(spelling) + L"\" " + std::to_wstring(writers.size()) + L" " +
                               std::to_wstring(kWrites) + L" " + eventName);
        ASSERT_NE(p, nullptr);
        writers.push_back(p);
    }
    ::Sleep(500);
    ::SetEvent(go);
    for (HANDLE p : writers) {
        ASSERT_EQ(::WaitForSingleObject(p, 600000), WAIT_OBJECT_0);
        ::CloseHandle(p);
    }
    ::CloseHandle(go);
    const auto list = engine.readSection("w", path_);
    EXPECT_EQ(list.entries.size(), 2u * kWrites + 1);
}

} // namespace
} // namespace tidemark::profile
