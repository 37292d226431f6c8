// What a cleaning leaves behind: its result in the shared file, both status
// windows, the tray tip and the event log; the wait after cleanings that do
// not help; the clean-now command in the holder and in other copies.
#include <gtest/gtest.h>

#include "shared/cleaner/CleaningResult.h"
#include "shared/settings/SettingsFiles.h"
#include "support/CopiesOnOneMachine.h"

namespace tidemark::monitor {
namespace {

constexpr std::uint64_t MB = testing::CopiesOnOneMachine::MB;

class CleaningResults : public testing::CopiesOnOneMachine {
protected:
    CleaningResults() {
        auto& holder = start("alice");
        holder.finishCleaning();   // the start-up cleaning, with plenty free
        machine.events.clear();
    }
    testing::MonitorCopy& alice() { return *copies.at("alice"); }
    std::size_t calls() { return alice().process->ramhold.calls.size(); }
    std::string freed(testing::MonitorCopy& copy, StatusWindow w = StatusWindow::Simple) {
        return copy.ui.text(w, StatusControl::FreedText);
    }
    // Each minute, alice's cleaning (if any) ends 2 s after it began with
    // `freeAfter` free; free memory is `freeAtTick` at every tick.
    int cleaningsOver(int minutes, std::uint64_t freeAtTick, std::uint64_t freeAfter) {
        int cleanings = 0;
        for (int m = 0; m < minutes; ++m) {
            machine.clock.advance(60000);
            machine.setMemory(1024 * MB, freeAtTick);
            const auto before = calls();
            alice().minuteTick();
            if (calls() == before) continue;
            ++cleanings;
            machine.clock.advance(2000);
            machine.setMemory(1024 * MB, freeAfter);
            alice().finishCleaning();
        }
        return cleanings;
    }
    const sim::EventRecord& lastEvent() { return machine.events.back(); }
};

TEST_F(CleaningResults, FirstCleaningsResultReachesTheFileBothWindowsTheTipAndTheLog) {
    machine.logOn("bob");
    auto& bob = start("bob");
    bob.process->timeZone = 330;   // a session in India: 14:31 when the holder's is 09:01
    machine.clock.advance(60000);
    lowMemory();   // 50 MB free, the trigger is 128 MB
    alice().minuteTick();
    ASSERT_EQ(calls(), 2u);   // after the start-up cleaning
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime").substr(0, 16), "2026/12/07 9:00:");   // the start-up cleaning's
    machine.clock.advance(3249);
    machine.setMemory(1024 * MB, 562 * MB);
    alice().finishCleaning();

    const std::string started = stored("AppSettingFlag", "ShExTime");
    EXPECT_EQ(started.substr(0, 16), "2026/12/07 9:01:");
    EXPECT_EQ(stored("AppSettingFlag", "ShExResult"), "0901,トリガー,First,128,50,562,3249,Done,");
    for (StatusWindow w : {StatusWindow::Simple, StatusWindow::Graph}) {
        EXPECT_EQ(alice().ui.text(w, StatusControl::FreedCaption), "前回の解放量");
        EXPECT_EQ(freed(alice(), w), "512 MB（3.2 秒）");
    }
    EXPECT_EQ(alice().state.cleaning.trayLine, "前回 09:01 に 512 MB 解放");
    ASSERT_EQ(machine.events.size(), 1u);
    EXPECT_EQ(lastEvent().id, 1000u);
    EXPECT_EQ(lastEvent().type, platform::EventType::Information);
    EXPECT_EQ(lastEvent().strings,
              (std::vector<std::string>{"Tidemark", "alice", started, "トリガー", "First", "128", "50",
                                        "562", "512", "3.2", "Done", "128", "", ""}));

    // Another user's copy shows the machine's last cleaning at its next tick,
    // in its own session's time.
    machine.clock.advance(60000);
    bob.minuteTick();
    EXPECT_EQ(freed(bob, StatusWindow::Graph), "512 MB（3.2 秒）");
    EXPECT_EQ(bob.state.cleaning.trayLine, "前回 14:31 に 512 MB 解放");
}

TEST_F(CleaningResults, CleaningsThatDoNotHelpWaitTwoFourAndEightMinutes) {
    // A trigger no cleaning can reach: at most 4 cleanings in 8 minutes.
    const int cleanings = cleaningsOver(8, 50 * MB, 60 * MB);
    EXPECT_EQ(cleanings, 3);   // minutes 1, 3 and 7
    EXPECT_EQ(lastEvent().id, 1001u);
    EXPECT_EQ(lastEvent().type, platform::EventType::Warning);
    EXPECT_EQ(lastEvent().strings[8], "10");
    EXPECT_EQ(lastEvent().strings[12], "09:15");   // 9:07 and 8 minutes
    EXPECT_EQ(freed(alice()), "10 MB（2.0 秒）・次回 09:15 以降");
    EXPECT_EQ(stored("AppSettingFlag", "ShExResult").substr(0, 5), "0907,");
    EXPECT_EQ(stored("AppSettingFlag", "ShExResult").substr(stored("AppSettingFlag", "ShExResult").size() - 5), ",0915");

    // The watch list is still read every minute of a wait.
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    machine.runningProcesses = std::vector<std::string>{"System"};
    EXPECT_EQ(cleaningsOver(1, 50 * MB, 60 * MB), 0);
    EXPECT_EQ(stored("AppSettingFlag", "STMCProcReplaceFlag"), "False");

    // Memory above the trigger at a tick ends the wait: the next low minute cleans.
    EXPECT_EQ(cleaningsOver(1, 500 * MB, 500 * MB), 0);
    EXPECT_EQ(freed(alice()), "10 MB（2.0 秒）");
    EXPECT_EQ(cleaningsOver(1, 50 * MB, 600 * MB), 1);
    // A cleaning that helped keeps every minute.
    EXPECT_EQ(cleaningsOver(3, 50 * MB, 600 * MB), 3);
    EXPECT_EQ(lastEvent().id, 1000u);
}

TEST_F(CleaningResults, SlowCleaningBrokenOffAndAMissingLibraryAreRecordedAsSuch) {
    store("AppSettingFlag", "MemCleanForm", "Slow");
    machine.clock.advance(60000);
    lowMemory();
    alice().minuteTick();
    ASSERT_EQ(alice().process->ramhold.calls.back().name, "MallocSlow");
    machine.clock.advance(7000);
    machine.setMemory(1024 * MB, 700 * MB);   // plentiful again: the next second breaks it off
    alice().secondTick();
    // The seven seconds and the few milliseconds the second's checks took.
    const auto broken = cleaner::parseResultValue(stored("AppSettingFlag", "ShExResult"));
    ASSERT_TRUE(broken);
    EXPECT_EQ(cleaner::resultValue(*broken).substr(0, 36), "0901,トリガー,Slow,128,50,700,70");
    EXPECT_EQ(broken->end, cleaner::CleaningEnd::BrokenOff);
    EXPECT_EQ(lastEvent().strings[10], "BrokenOff");
    const std::string lastRun = stored("AppSettingFlag", "ShExTime");

    alice().process->ramhold.makeMissing();
    machine.clock.advance(60000);
    lowMemory();
    alice().minuteTick();
    EXPECT_EQ(lastEvent().id, 1002u);
    EXPECT_EQ(lastEvent().type, platform::EventType::Error);
    EXPECT_EQ(lastEvent().strings[10], "NotRun");
    EXPECT_EQ(lastEvent().strings[13], "Ramhold.dll");
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime"), lastRun);   // nothing ran
    EXPECT_EQ(freed(alice()), "実行できませんでした・次回 09:04 以降");
    // It waits like any cleaning that did not help: no event every minute.
    const auto events = machine.events.size();
    machine.clock.advance(60000);
    alice().minuteTick();
    EXPECT_EQ(machine.events.size(), events);
}

TEST_F(CleaningResults, CleanNowCleansInTheHolderOnlyAndSaysWhyNot) {
    machine.logOn("bob");
    auto& bob = start("bob");
    const auto boxes = machine.messages.size();
    bob.cleanNow();
    ASSERT_EQ(machine.messages.size(), boxes + 1);
    EXPECT_EQ(machine.messages.back().request.text, "メモリクリーナ実行権は「alice」にあります");
    EXPECT_TRUE(bob.process->ramhold.calls.empty());

    // The holder cleans at once, plenty of free memory or not, and even
    // while a wait holds the automatic cleaning back.
    cleaningsOver(1, 50 * MB, 50 * MB);
    ASSERT_TRUE(alice().state.cleaning.cycle.waiting());
    alice().cleanNow();
    ASSERT_EQ(calls(), 3u);
    alice().cleanNow();   // still running
    EXPECT_EQ(machine.messages.back().request.text, "メモリクリーナは実行中です。終わってからやり直してください。");
    EXPECT_EQ(calls(), 3u);
    machine.setMemory(1024 * MB, 400 * MB);
    alice().finishCleaning();
    EXPECT_EQ(stored("AppSettingFlag", "ShExResult").substr(0, 12), "0901,手動,");

    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    machine.runningProcesses = std::vector<std::string>{"System", "GAME.EXE"};
    alice().cleanNow();
    EXPECT_EQ(machine.messages.back().request.text, "プロセス監視の対象「game.exe」が実行中のため、クリーニングしません。");
    EXPECT_EQ(calls(), 3u);
}

TEST_F(CleaningResults, TheRightTakenAndGivenUpAreLogged) {
    end("alice");
    ASSERT_EQ(machine.events.size(), 1u);
    EXPECT_EQ(lastEvent().id, 1101u);
    EXPECT_EQ(lastEvent().strings, (std::vector<std::string>{"Tidemark", "alice", testing::kAliceSid, "1"}));
    machine.logOn("bob");
    start("bob");
    ASSERT_EQ(machine.events.size(), 2u);
    EXPECT_EQ(machine.events[1].id, 1100u);
    EXPECT_EQ(machine.events[1].type, platform::EventType::Information);
    EXPECT_EQ(machine.events[1].strings[2], testing::kBobSid);
}

} // namespace
} // namespace tidemark::monitor
