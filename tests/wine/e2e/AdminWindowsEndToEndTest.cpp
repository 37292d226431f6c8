// The administrator window and the slow cleaning window driven as a person
// would: opened from the tray menu and the window's button, the cleaning
// form and the slow settings stored and read back by the profile functions,
// a running stepwise cleaning stopped, and the removal of system start
// reported from Jobsmith's exit code.
#include <gtest/gtest.h>

#include "AdminWindowsDriver.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::CheckState;
using automation::Process;

bool writeProfile(const std::string& file, const char* key, const std::string& value) {
    return ::WritePrivateProfileStringW(L"AppSettingFlag", win32::toWide(key).c_str(), win32::toWide(value).c_str(),
                                        win32::toWide(file).c_str()) != FALSE;
}

std::string readProfile(const std::string& file, const char* key) {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(L"AppSettingFlag", win32::toWide(key).c_str(), L"", value, 256,
                               win32::toWide(file).c_str());
    return win32::fromWideBuffer(value);
}

std::string textOf(HWND window, int id) {
    return automation::controlText(automation::findControl(window, id)).value_or("(none)");
}

TEST(AdminWindows, SlowChoiceIsStoredAndStopEndsTheRunningStepwiseCleaning) {
    TidemarkSession session;
    const std::string ini = session.sharedFile();
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    // Every moment is a low one (a trigger of all but 64 MiB), so the slow
    // cleaning of start-up is not broken off: 64 steps of 1 MB a minute apart.
    ASSERT_TRUE(writeProfile(ini, "MemCleanExeMemSize", std::to_string(memory.ullTotalPhys - (64u << 20) - 1)));
    ASSERT_TRUE(writeProfile(ini, "MemCleanSize", "64"));
    ASSERT_TRUE(writeProfile(ini, "MemCleanForm", "Slow"));
    ASSERT_TRUE(writeProfile(ini, "SlowMemCleanSetting", "60000>1"));
    Process tidemark = session.start();
    // Start-up renews the right once its cleaning has started; the cleaning's
    // time is written when it ends, an hour from now.
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "MemCleanRightTime", 30000));

    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    HWND first = automation::findControl(admin, IDC_FAST_OPTION);
    HWND slowOption = automation::findControl(admin, IDC_SLOW_OPTION);
    HWND settings = automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON);
    EXPECT_EQ(automation::checkState(slowOption), CheckState::Checked);
    EXPECT_EQ(automation::checkState(automation::findControl(admin, IDC_SYSTEM_START_BOX)), CheckState::Unchecked);
    ASSERT_TRUE(showCleaningPage(admin));
    EXPECT_FALSE(automation::isVisible(automation::findControl(admin, IDC_SYSTEM_START_BOX)));
    ASSERT_TRUE(automation::clickButton(first));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return readProfile(ini, "MemCleanForm") == "First"; }));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !automation::isEnabled(settings); }));
    ASSERT_TRUE(automation::clickButton(slowOption));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return readProfile(ini, "MemCleanForm") == "Slow"; }));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::isEnabled(settings); }));

    HWND slow = openSlowWindow(admin, tidemark.id());
    ASSERT_NE(slow, nullptr);
    EXPECT_EQ(textOf(slow, IDC_PAUSE_BOX), "60000");
    EXPECT_EQ(textOf(slow, IDC_STEP_BOX), "1");
    EXPECT_TRUE(automation::pollUntil(3000, [&] { return textOf(slow, IDC_SLOW_STATUS) == "メモリ確保中"; }))
        << textOf(slow, IDC_SLOW_STATUS);
    // The administrator window waits behind its modal child.
    EXPECT_FALSE(::IsWindowEnabled(admin));

    ASSERT_TRUE(automation::setControlText(automation::findControl(slow, IDC_PAUSE_BOX), "30000"));
    ASSERT_TRUE(automation::setControlText(automation::findControl(slow, IDC_STEP_BOX), "2"));
    ASSERT_TRUE(automation::clickButton(automation::findControl(slow, IDC_SLOW_APPLY_BUTTON)));
    const auto saved = automation::waitForMessageBox(tidemark.id(), 10000, "設定を保存しました");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->caption, "設定保存の成功");
    ASSERT_TRUE(automation::answerMessageBox(saved->hwnd, IDOK));
    EXPECT_EQ(readProfile(ini, "SlowMemCleanSetting"), "30000>2");

    HWND stop = automation::findControl(slow, IDC_STOP_BUTTON);
    ASSERT_TRUE(automation::clickButton(stop));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return textOf(slow, IDC_SLOW_STATUS) == "メモリ確保中断"; }))
        << textOf(slow, IDC_SLOW_STATUS);
    EXPECT_FALSE(automation::isEnabled(stop));
    EXPECT_FALSE(session.capture(slow, "slow_cleaning_window_stopped").empty());

    // Saved boxes: closing asks nothing.
    ASSERT_TRUE(automation::postMessage(slow, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(slow); }));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return ::IsWindowEnabled(admin) != FALSE; }));
    ASSERT_TRUE(automation::postMessage(admin, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(admin); }));
    EXPECT_TRUE(tidemark.isRunning());
}

TEST(AdminWindows, AFailedRemovalOfSystemStartIsShownAndChangesNothing) {
    TidemarkSession session;
    const std::string jobsmith = session.folder() + "\\Jobsmith.exe";
    ASSERT_TRUE(::CopyFileW(win32::toWide(automation::currentProgramFolder() + "\\Jobsmith.exe").c_str(),
                            win32::toWide(jobsmith).c_str(), FALSE));
    // The system-start account holds the right before Tidemark starts: the
    // system's profile function takes no part in the suite's file lock, so
    // a write of it beside a running copy's writes could be lost.
    ASSERT_TRUE(writeProfile(session.sharedFile(), "MemCleanRightUser", "SystemStartAdministrators"));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "MemCleanExeMemSize", 30000));

    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    HWND box = automation::findControl(admin, IDC_SYSTEM_START_BOX);
    ASSERT_EQ(automation::checkState(box), CheckState::Checked);
    ASSERT_TRUE(automation::clickButton(box));
    const auto question = automation::waitForMessageBox(tidemark.id(), 10000, "という設定を削除しますか？");
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->caption, "設定変更の確認");
    ASSERT_TRUE(automation::answerMessageBox(question->hwnd, IDYES));
    // Wine's Task Scheduler refuses names with a dot: Jobsmith's exit code
    // says so, and the window shows it.
    const auto failure = automation::waitForMessageBox(tidemark.id(), 60000, "タスクを削除できませんでした");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->caption, "設定変更の確認");
    EXPECT_NE(failure->text.find("（コード 0x8"), std::string::npos) << failure->text;
    EXPECT_FALSE(session.capture(failure->hwnd, "admin_window_removal_failed").empty());
    ASSERT_TRUE(automation::answerMessageBox(failure->hwnd, IDOK));
    EXPECT_EQ(automation::checkState(box), CheckState::Checked);
    EXPECT_TRUE(automation::isEnabled(box));
    EXPECT_EQ(readProfile(session.sharedFile(), "MemCleanRightUser"), "SystemStartAdministrators");
    EXPECT_TRUE(automation::findMessageBoxes(tidemark.id()).empty()) << "no restart is offered";
    ASSERT_TRUE(automation::postMessage(admin, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(admin); }));
    ::DeleteFileW(win32::toWide(jobsmith).c_str());
}

} // namespace
} // namespace tidemark::e2e
