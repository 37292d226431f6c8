// Start-up of the main program, the hand-over from a second start, the
// ticks of its timers and its exit.
#include <gtest/gtest.h>

#include "monitor/core/MonitorLifecycle.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using lifecycle::StartOutcome;
constexpr std::uint64_t MB = 1048576;

class Startup : public testing::SimFixture {
protected:
    Startup() { machine.setMemory(1024 * MB, 800 * MB); }
    std::string shared(const char* section, const std::string& key) {
        ProgramState s;
        s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
        return SettingsFiles(alice.platform(), s).read(section, key);
    }
    std::string userFile(const std::string& user) {
        return machine.files.contents("C:\\Users\\" + user + "\\AppData\\Roaming\\Quillon\\Kestrel\\Tidemark.ini");
    }
};

TEST_F(Startup, FirstStartRegistersTheUserTakesTheRightAndCleansOnce) {
    testing::MonitorCopy copy{machine, "alice"};
    EXPECT_EQ(copy.start(), StartOutcome::Running);
    EXPECT_TRUE(copy.state.right.held);
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
    EXPECT_EQ(shared("UserAccountName", testing::kAliceSid), "alice");
    // One cleaning at start-up although 800 MB are free.
    ASSERT_EQ(copy.process->ramhold.calls.size(), 1u);
    EXPECT_EQ(copy.process->ramhold.calls[0].name, "MallocFirst");
    EXPECT_EQ(copy.process->ramhold.calls[0].sizeMB, 128);
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightTime"), "3");
    EXPECT_EQ(shared("GetRightChallenge", testing::kBobSid), "3");
    copy.finishCleaning();
    const std::string ran = shared("AppSettingFlag", "ShExTime");
    EXPECT_EQ(ran.substr(0, 11), "2026/12/07 ");
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::LastRunText), ran);
    EXPECT_EQ(copy.ui.text(StatusWindow::Graph, StatusControl::LastRunText), ran);
    EXPECT_EQ(copy.ui.tooltip(StatusWindow::Simple, StatusControl::NumbersFrame), "メモリークリーナー実行権者は alice");
    EXPECT_TRUE(copy.ui.timersRunning);
    EXPECT_TRUE(copy.state.isAdministrator);
    EXPECT_EQ(machine.launches.size(), 1u);   // CACLS for an administrator
    EXPECT_FALSE(copy.ui.adminMenuDisabled);
    EXPECT_TRUE(machine.messages.empty());
    EXPECT_FALSE(copy.ui.visible[0] || copy.ui.visible[1]);   // only the tray icon shows
}

TEST_F(Startup, OrdinaryUserGetsNoAccessChangeAndNoAdministratorMenu) {
    machine.logOn("bob");
    testing::MonitorCopy copy{machine, "bob"};
    copy.start();
    EXPECT_TRUE(machine.launches.empty());
    EXPECT_TRUE(copy.ui.adminMenuDisabled);
}

TEST_F(Startup, CopyWithoutTheRightShowsTheLastRun) {
    testing::MonitorCopy first{machine, "alice"};
    first.start();
    first.finishCleaning();
    machine.logOn("bob");
    testing::MonitorCopy second{machine, "bob"};
    second.start();
    EXPECT_FALSE(second.state.right.held);
    EXPECT_TRUE(second.process->ramhold.calls.empty());
    EXPECT_EQ(second.ui.text(StatusWindow::Simple, StatusControl::LastRunCaption), "前回メモリクリーナ実行日時");
    EXPECT_EQ(second.ui.text(StatusWindow::Graph, StatusControl::LastRunText), shared("AppSettingFlag", "ShExTime"));
}

TEST_F(Startup, SystemStartAccountOutsideAdministratorsIsReported) {
    ProgramState s;
    s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    SettingsFiles files(alice.platform(), s);
    files.write("AppSettingFlag", "MemCleanRightUser", std::string("SystemStartAdministrators"));
    files.write("AppSettingFlag", "ShExTime", std::string("2026/12/06 23:00:00"));
    files.write("AppSettingFlag", "SSAUserName", std::string("NotAdmin"));
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    EXPECT_FALSE(copy.state.right.held);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "システムスタートしているTidemarkのアカウントが\r\nAdministrators 以外のアカウントになっています。\r\n"
              "プログラムが正しく動作するためには、Administrators の権限が必要です。\r\n"
              "管理者設定からシステムスタート設定をやり直すことを強く推奨します。");
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::LastRunText), "2026/12/06 23:00:00");
}

TEST_F(Startup, WatchedProgramHoldsBackTheStartUpCleaning) {
    ProgramState s;
    s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    SettingsFiles files(alice.platform(), s);
    files.write("ExitTrigProcList", "game.exe", std::string("C:\\Games\\game.exe"));
    files.write("AppSettingFlag", "ProcWatchSetting", std::string("True"));
    files.write("AppSettingFlag", "STMCProcReplaceFlag", std::string("False"));
    machine.runningProcesses = std::vector<std::string>{"explorer.exe", "GAME.EXE"};
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    EXPECT_TRUE(copy.state.right.held);
    EXPECT_TRUE(copy.process->ramhold.calls.empty());
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::LastRunText), "(unset)");
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightTime"), "3");   // the minute tick still ran
}

TEST_F(Startup, OldSystemsAreRefused) {
    machine.osVersion = platform::OsVersionInfo{4, 0, 1381, 2};
    testing::MonitorCopy nt4{machine, "alice"};
    EXPECT_EQ(nt4.start(), StartOutcome::Ended);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "このプログラムは Windows2000 以上で動作します");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::None);
    EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
    EXPECT_FALSE(machine.files.fileExists("C:\\Program Files\\Tidemark\\Tidemark.ini"));

    machine.osVersion = platform::OsVersionInfo{4, 10, 1998, 1};
    testing::MonitorCopy win98{machine, "alice"};
    EXPECT_EQ(win98.start(), StartOutcome::Ended);

    machine.messages.clear();
    machine.osVersion = platform::OsVersionInfo{5, 0, 2195, 2};
    testing::MonitorCopy w2k{machine, "alice"};
    EXPECT_EQ(w2k.start(), StartOutcome::Running);
    EXPECT_FALSE(w2k.state.xpOrLater);
}

TEST_F(Startup, SecondStartHandsOverAndTheRunningCopyConsumesTheRequest) {
    testing::MonitorCopy first{machine, "alice"};
    first.start();
    testing::MonitorCopy second{machine, "alice"};
    EXPECT_EQ(second.start(), StartOutcome::Ended);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "プログラムはすでに起動されています\r\nタスクトレイにアイコンがない場合は１分ほどお待ちください\r\n"
              "アイコンの再表示依頼をプログラムに通知しました");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Exclamation);
    EXPECT_NE(userFile("alice").find("IconObjFlag=alice"), std::string::npos);
    EXPECT_TRUE(second.process->ramhold.calls.empty());

    const int adds = first.ui.trayAdds;
    first.minuteTick();
    EXPECT_EQ(first.ui.trayDeletes, 1);
    EXPECT_EQ(first.ui.trayAdds, adds + 1);
    EXPECT_NE(userFile("alice").find("IconObjFlag=True"), std::string::npos);
    first.minuteTick();   // consumed once only
    EXPECT_EQ(first.ui.trayDeletes, 1);
}

TEST_F(Startup, SecondStartFromTheStartupShortcutEndsSilently) {
    testing::MonitorCopy first{machine, "alice"};
    first.start();
    testing::MonitorCopy second{machine, "alice", "stup"};
    EXPECT_EQ(second.start(), StartOutcome::Ended);
    EXPECT_TRUE(machine.messages.empty());
    EXPECT_EQ(userFile("alice").find("IconObjFlag"), std::string::npos);
}

TEST_F(Startup, RequestWithoutAUserNameReachesTheRunningCopy) {
    testing::MonitorCopy first{machine, "alice"};
    first.start();
    testing::MonitorCopy second{machine, "alice"};
    second.process->userNameFailures = 1;
    second.start();
    EXPECT_NE(userFile("alice").find("IconObjFlag=False"), std::string::npos);
    first.minuteTick();
    EXPECT_EQ(first.ui.trayDeletes, 1);
    // Another user's name is not this copy's request.
    SettingsFiles(first.process->platform(), first.state).writeUser("AppSetting", "IconObjFlag", std::string("carol"));
    first.minuteTick();
    EXPECT_EQ(first.ui.trayDeletes, 1);
}

TEST_F(Startup, LogonUserThatNeverComesIsUnknownAfterFiftyOnePasses) {
    testing::MonitorCopy copy{machine, "alice"};
    copy.process->userNameFailures = 255;   // every call of 51 passes fails, then the group check's succeed
    copy.start();
    EXPECT_EQ(copy.state.user.logonName, "Unknown User");
    EXPECT_EQ(shared("UserAccountName", testing::kAliceSid), "Unknown User");
}

TEST_F(Startup, FailedGroupQueryIsReportedAndTheUserRunsAsOrdinary) {
    testing::MonitorCopy copy{machine, "alice"};
    copy.process->groupQueryFailures = 1000;
    copy.start();
    ASSERT_GE(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "現在のログオンユーザーグループの取得に失敗しました\r\n「Tidemark」は\r\n「 User 」権限で実行されます。");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
    EXPECT_TRUE(copy.ui.adminMenuDisabled);
    EXPECT_TRUE(machine.launches.empty());
}

TEST_F(Startup, StaleTemporaryFilesAreDeleted) {
    machine.files.putFile("C:\\Windows\\Temp\\~DF1234.tmp", "x");
    machine.files.putFile("C:\\Windows\\Temp\\~DFAB.TMP", "x");
    machine.files.putFile("C:\\Windows\\Temp\\keep.tmp", "x");
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    EXPECT_EQ(machine.files.filesIn("C:\\Windows\\Temp"), std::vector<std::string>{"C:\\Windows\\Temp\\keep.tmp"});
}

TEST_F(Startup, SavedIconChoiceOfTheUserTakesEffect) {
    {
        testing::MonitorCopy before{machine, "alice"};
        before.start();
        SettingsFiles(before.process->platform(), before.state)
            .writeUser("IconSetting", testing::kAliceSid, std::string("True"));
        before.exit();
    }
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    EXPECT_TRUE(copy.state.display.userIcon);
}

TEST_F(Startup, StyleChangeShowsTheOtherWindowOnlyWhenOneWasVisible) {
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    copy.state.display.windowStyle = 1;
    lifecycle::applyWindowStyle(copy.context);
    EXPECT_EQ(copy.ui.graphToggles, 0);
    copy.ui.visible[0] = true;
    lifecycle::applyWindowStyle(copy.context);
    EXPECT_FALSE(copy.ui.visible[0]);
    EXPECT_TRUE(copy.ui.visible[1]);
    copy.state.display.windowStyle = 0;
    lifecycle::applyWindowStyle(copy.context);
    EXPECT_TRUE(copy.ui.visible[0]);
    EXPECT_FALSE(copy.ui.visible[1]);
}

TEST_F(Startup, ExitGivesTheRightBack) {
    {
        testing::MonitorCopy copy{machine, "alice"};
        copy.start();
        copy.exit();
        EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightUser"), "NoUser");
        EXPECT_GE(copy.process->ramhold.breaks, 1);
        EXPECT_FALSE(copy.ui.timersRunning);
        EXPECT_EQ(copy.ui.trayDeletes, 1);
    }
    // A copy without the right leaves the holder alone.
    testing::MonitorCopy first{machine, "alice"};
    first.start();
    first.finishCleaning();
    machine.logOn("bob");
    testing::MonitorCopy other{machine, "bob"};
    other.start();
    other.exit();
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
}

TEST_F(Startup, SecondTickRetriesTheTrayIconAndRefreshesTheFigures) {
    testing::MonitorCopy copy{machine, "alice"};
    copy.start();
    copy.ui.trayAccepts = false;
    const auto before = machine.clock.monotonicMs();
    copy.secondTick();
    EXPECT_EQ(copy.ui.trayAdds, 5);
    EXPECT_EQ(machine.clock.monotonicMs() - before, 250u);
    EXPECT_EQ(copy.ui.restartChecks, 0);
    copy.ui.trayAccepts = true;
    machine.setMemory(1024 * MB, 100 * MB);
    copy.secondTick();
    EXPECT_EQ(copy.ui.trayAdds, 6);
    EXPECT_TRUE(copy.state.windows.trayIconShown);
    EXPECT_EQ(copy.ui.restartChecks, 1);
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::FreeMemory), "102,400 KB");
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::MemoryLoad), "91 %");
    EXPECT_EQ(copy.ui.tooltip(StatusWindow::Graph, StatusControl::Graph),
              "総物理メモリー 1,048,576 KB / メモリー使用率 91 %");
}

TEST_F(Startup, TickDoesNotRunInsideItselfWhileItsMessageIsUp) {
    testing::MonitorCopy copy{machine, "bob"};
    machine.logOn("bob");
    copy.start();
    // The physical memory changed: the minute tick shows a message; while it
    // is up the timer fires again.
    ProgramState s;
    s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    SettingsFiles(alice.platform(), s).write("AppSettingFlag", "PhysMemSize", std::string("1"));
    int nested = 0;
    machine.onMessage = [&](const sim::MessageRecord&) {
        ++nested;
        copy.minuteTick();
        copy.minuteTick();
    };
    copy.minuteTick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(machine.messages.size(), 1u);
}

} // namespace
} // namespace tidemark::monitor
