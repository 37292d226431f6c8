// End-to-end runs of the windowless programs: Corvid, Cascada and Grantel
// installed together in a folder whose path has blanks, with a stand-in
// CACLS in the system folder that records how it was started, and the same
// stand-in planted where a careless start would find it ("C:\Program.exe",
// a "CACLS.exe" beside the programs): those must never run.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "automation/Automation.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::e2e {
namespace {

using win32::fromWide;
using win32::toWide;

constexpr const char* kPlantedProgram = "C:\\Program.exe";

std::string systemFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetSystemDirectoryW(path, MAX_PATH);
    return fromWide(path);
}

bool copyFile(const std::string& from, const std::string& to) {
    return ::CopyFileW(toWide(from).c_str(), toWide(to).c_str(), FALSE) != 0;
}

void endEvery(const char* exeName) {
    for (DWORD pid : automation::processIdsByExeName(exeName)) {
        HANDLE h = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!h) continue;
        ::TerminateProcess(h, 99);
        ::WaitForSingleObject(h, 10000);
        ::CloseHandle(h);
    }
}

class Companions : public ::testing::Test {
protected:
    Companions() {
        endCompanions();
        const std::string bin = automation::currentProgramFolder();
        folder_ = "C:\\Program Files\\Quillon Kestrel e2e " + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryW(toWide(folder_).c_str(), nullptr);
        for (const char* file : {"Corvid.exe", "Cascada.exe", "Grantel.exe", "Ramhold.dll"})
            copyFile(bin + "\\" + file, folder_ + "\\" + file);
        const std::string standIn = bin + "\\tm_standin.exe";
        // The system's CACLS is replaced for the test (the test's environment
        // has Wine load it as the file it is, not as Wine's own program).
        cacls_ = systemFolder() + "\\cacls.exe";
        copyFile(cacls_, cacls_ + ".tm_backup");
        copyFile(standIn, cacls_);
        copyFile(standIn, kPlantedProgram);
        copyFile(standIn, folder_ + "\\CACLS.exe");
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        log_ = fromWide(temp) + "tm_standin_" + std::to_string(::GetCurrentProcessId()) + ".log";
        ::DeleteFileW(toWide(log_).c_str());
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", toWide(log_).c_str());
    }
    ~Companions() override {
        endCompanions();
        copyFile(cacls_ + ".tm_backup", cacls_);
        ::DeleteFileW(toWide(cacls_ + ".tm_backup").c_str());
        ::DeleteFileW(toWide(kPlantedProgram).c_str());
        for (const char* file : {"Corvid.exe", "Cascada.exe", "Grantel.exe", "Ramhold.dll", "CACLS.exe", "Tidemark.ini"})
            ::DeleteFileW(toWide(folder_ + "\\" + file).c_str());
        ::RemoveDirectoryW(toWide(folder_).c_str());
        ::DeleteFileW(toWide(log_).c_str());
    }
    static void endCompanions() {
        for (const char* exe : {"Corvid.exe", "Cascada.exe", "Grantel.exe"}) endEvery(exe);
    }

    automation::Process start(const char* exe, const std::string& word) {
        return automation::startProcess(folder_ + "\\" + exe, word, folder_, automation::StdStreams::None).process;
    }
    std::string sharedFile() const { return folder_ + "\\Tidemark.ini"; }
    std::optional<std::string> shared(const std::string& section, const std::string& key) {
        profile::ProfileEngine engine(system_.platform());
        const auto r = engine.readValue(section, key, 1024, sharedFile());
        if (r.count == 0) return std::nullopt;
        return r.text;
    }
    bool writeShared(const std::string& section, const std::string& key, const std::string& value) {
        profile::ProfileEngine engine(system_.platform());
        return engine.writeString(section, key, value, sharedFile());
    }
    bool waitForShared(const std::string& section, const std::string& key, DWORD timeoutMs,
                       const std::optional<std::string>& value = std::nullopt) {
        return automation::pollUntil(timeoutMs, [&] {
            const auto v = shared(section, key);
            return v && (!value || *v == *value);
        });
    }
    // "program path|command line" of every stand-in start so far.
    std::vector<std::string> standInStarts() {
        std::vector<std::string> lines;
        const auto bytes = system_.platform().files.readAll(log_);
        if (!bytes.ok) return lines;
        std::wstring text(bytes.bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.bytes.data(), text.size() * 2);
        std::size_t at = 0;
        for (auto end = text.find(L"\r\n"); end != std::wstring::npos; at = end + 2, end = text.find(L"\r\n", at))
            lines.push_back(fromWide(text.substr(at, end - at)));
        return lines;
    }
    std::vector<std::string> startsOf(const std::string& program) {
        std::vector<std::string> out;
        auto lower = [](std::string s) {
            for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return s;
        };
        for (const auto& line : standInStarts())
            if (lower(line.substr(0, line.find('|'))) == lower(program)) out.push_back(line.substr(line.find('|') + 1));
        return out;
    }
    void expectNothingPlantedRan() {
        EXPECT_TRUE(startsOf(kPlantedProgram).empty());
        EXPECT_TRUE(startsOf(folder_ + "\\CACLS.exe").empty());
    }
    std::string expectedCaclsArguments() const { return "\"" + sharedFile() + "\" /E /C /G Everyone:F"; }

    win32::Win32Platform system_;
    std::string folder_, cacls_, log_;
};

TEST_F(Companions, CorvidPassTestWritesTrueAndEndsAndOtherWordsDoNothing) {
    auto wrong = start("Corvid.exe", "passtest");
    EXPECT_EQ(wrong.waitForExit(10000), std::optional<DWORD>(0));
    EXPECT_FALSE(shared("AppSettingFlag", "PassTest"));
    auto pass = start("Corvid.exe", "PassTest");
    EXPECT_EQ(pass.waitForExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(shared("AppSettingFlag", "PassTest"), std::optional<std::string>("True"));
}

TEST_F(Companions, CorvidRunHoldsTheRightStartsGrantelOnceAndLeavesAtSessionEnd) {
    auto corvid = start("Corvid.exe", "RUN");
    ASSERT_TRUE(waitForShared("AppSettingFlag", "ShExTime", 40000));
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightUser"), std::optional<std::string>("SystemStartAdministrators"));
    EXPECT_EQ(shared("UserAccountName", "SystemStartAdministrators"),
              std::optional<std::string>("System Start Administrators"));
    EXPECT_TRUE(std::regex_match(shared("AppSettingFlag", "SSAUserTime").value_or(""), std::regex("[0-2][0-9][0-5][0-9]")));
    EXPECT_EQ(shared("AppSettingFlag", "ShExTime"), std::optional<std::string>("Err Mem Size!"));

    // Grantel, started by Corvid, starts the system's CACLS once.
    ASSERT_TRUE(automation::pollUntil(20000, [&] { return !startsOf(cacls_).empty(); }));
    ::Sleep(2000);
    const auto caclsStarts = startsOf(cacls_);
    ASSERT_EQ(caclsStarts.size(), 1u);
    EXPECT_NE(caclsStarts[0].find(expectedCaclsArguments()), std::string::npos) << caclsStarts[0];
    expectNothingPlantedRan();

    // A password test still answers; a second "RUN" ends at once.
    auto pass = start("Corvid.exe", "PassTest");
    EXPECT_EQ(pass.waitForExit(10000), std::optional<DWORD>(0));
    EXPECT_EQ(shared("AppSettingFlag", "PassTest"), std::optional<std::string>("True"));
    auto second = start("Corvid.exe", "RUN");
    EXPECT_EQ(second.waitForExit(10000), std::optional<DWORD>(0));
    EXPECT_TRUE(corvid.isRunning());

    // Settings saved for this machine: the next check leaves the error.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    ASSERT_TRUE(writeShared("AppSettingFlag", "MemCleanExeMemSize", "52428800"));
    ASSERT_TRUE(writeShared("AppSettingFlag", "PhysMemSize", std::to_string(memory.ullTotalPhys)));
    EXPECT_TRUE(waitForShared("AppSettingFlag", "ShExTime", 100000, std::string("まだ実行されていません")));

    // The session's end, as Windows sends it to the hidden window.
    automation::WindowCriteria criteria;
    criteria.className = "frmCorvid";
    criteria.processId = corvid.id();
    HWND window = automation::waitForWindow(criteria, 5000);
    ASSERT_NE(window, nullptr);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(answer, TRUE);
    ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(corvid.waitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(Companions, CascadaStartsCorvidFromAFolderWithBlanks) {
    auto wrong = start("Cascada.exe", "run");
    EXPECT_EQ(wrong.waitForExit(10000), std::optional<DWORD>(0));
    EXPECT_FALSE(shared("AppSettingFlag", "SSAUserName"));

    auto cascada = start("Cascada.exe", "RUN");
    EXPECT_EQ(cascada.waitForExit(40000), std::optional<DWORD>(0));
    EXPECT_EQ(shared("AppSettingFlag", "SSAUserName"), std::optional<std::string>("Administrators"));
    // Corvid runs: it claims the right for the system-start account.
    EXPECT_TRUE(waitForShared("AppSettingFlag", "MemCleanRightUser", 40000, std::string("SystemStartAdministrators")));
    EXPECT_EQ(automation::processIdsByExeName("Corvid.exe").size(), 1u);
    expectNothingPlantedRan();
}

TEST_F(Companions, GrantelStartsTheSystemsCaclsOnceWithTheQuotedPath) {
    auto without = start("Grantel.exe", "RUN");
    EXPECT_EQ(without.waitForExit(40000), std::optional<DWORD>(0));
    EXPECT_TRUE(startsOf(cacls_).empty());

    ASSERT_TRUE(writeShared("AppSettingFlag", "PassTest", "False"));
    auto grantel = start("Grantel.exe", "RUN");
    EXPECT_EQ(grantel.waitForExit(40000), std::optional<DWORD>(0));
    const auto starts = startsOf(cacls_);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find(expectedCaclsArguments()), std::string::npos) << starts[0];
    expectNothingPlantedRan();
}

} // namespace
} // namespace tidemark::e2e
