// The real Tidemark with a trigger no cleaning can reach: each cleaning's
// result in both status windows and the tray tip, and the wait that keeps
// cleanings that do not help from coming every minute.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "TidemarkSession.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

bool putFile(const std::string& path, const std::string& bytes) {
    win32::UniqueKernelHandle file(
        ::CreateFileW(win32::toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The shell's tip for the icon: a tool of one of its tooltip controls.
std::optional<std::string> trayTipContaining(const std::string& part) {
    for (DWORD shell : automation::processIdsByExeName("explorer.exe"))
        for (HWND tooltip : automation::tooltipWindows(shell))
            if (const auto tools = automation::tooltipTools(tooltip))
                for (const auto& tool : *tools)
                    if (tool.text.find(part) != std::string::npos) return tool.text;
    return std::nullopt;
}

TEST(CleaningResults, ShownInBothWindowsAndTheTipAndCleaningsThatDoNotHelpWait) {
    TidemarkSession session;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    ASSERT_TRUE(putFile(session.sharedFile(), "[AppSettingFlag]\r\nMemCleanExeMemSize=" +
                                                  std::to_string(memory.ullTotalPhys - (64u << 20) - 1) +
                                                  "\r\nMemCleanSize=16\r\nMemCleanForm=First\r\n"));
    automation::Process tidemark = session.start();
    const ULONGLONG started = ::GetTickCount64();
    // The start-up cleaning ends, and its time and result are written together.
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExResult", 60000));
    const auto firstRun = session.shared("AppSettingFlag", "ShExTime");
    ASSERT_TRUE(firstRun);

    const std::regex shown("-?[0-9]+ MB（[0-9]+\\.[0-9] 秒）・次回 [0-9]{2}:[0-9]{2} 以降");
    for (HWND window : {session.simpleWindow(tidemark.id()), session.graphWindow(tidemark.id())}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(automation::controlText(automation::findControl(window, IDC_FREED_CAPTION)).value_or(""), "前回の解放量");
        HWND value = automation::findControl(window, IDC_FREED);
        std::string text;
        EXPECT_TRUE(automation::pollUntil(10000, [&] {
            text = automation::controlText(value).value_or(std::string());
            return std::regex_match(text, shown);
        })) << text;
    }
    std::optional<std::string> tip;
    EXPECT_TRUE(automation::pollUntil(10000, [&] { return (tip = trayTipContaining(" MB 解放")).has_value(); }));
    if (tip) {
        EXPECT_NE(tip->find("メモリ使用率"), std::string::npos) << *tip;
        EXPECT_TRUE(std::regex_search(*tip, std::regex("前回 [0-9]{2}:[0-9]{2} に -?[0-9]+ MB 解放"))) << *tip;
    }

    // Eight minutes: the start-up cleaning, then after 2 and 4 more minutes
    // (every minute, without the wait).
    std::set<std::string> runs{*firstRun};
    while (::GetTickCount64() - started < 8 * 60000) {
        if (const auto run = session.shared("AppSettingFlag", "ShExTime")) runs.insert(*run);
        ::Sleep(1000);
    }
    EXPECT_LE(runs.size(), 4u);
    EXPECT_GE(runs.size(), 2u);
    const auto result = session.shared("AppSettingFlag", "ShExResult");
    ASSERT_TRUE(result);
    EXPECT_NE(result->find(",トリガー,First,16,"), std::string::npos) << *result;
}

} // namespace
} // namespace tidemark::e2e
