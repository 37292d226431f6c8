// The cleaner's minute tick for the copy that holds the right: when it
// cleans, what holds it back, and the break of a slow cleaning.
#include <gtest/gtest.h>

#include "monitor/core/MemoryCleaner.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

constexpr std::uint64_t MB = 1048576;

class CleanerTick : public testing::SimFixture {
protected:
    CleanerTick() {
        machine.setMemory(1024 * MB, 800 * MB);
        holder.start();
        holder.finishCleaning();
        ramhold().calls.clear();
    }
    sim::SimRamhold& ramhold() { return holder.process->ramhold; }
    void store(const char* section, const std::string& key, const std::string& value) {
        SettingsFiles(holder.process->platform(), holder.state).write(section, key, value);
    }
    std::string stored(const char* key) {
        return SettingsFiles(holder.process->platform(), holder.state).read("AppSettingFlag", key);
    }
    void watch(const std::string& program) {
        store("ExitTrigProcList", program, "C:\\Apps\\" + program);
        store("AppSettingFlag", "ProcWatchSetting", "True");
        store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    }
    testing::MonitorCopy holder{machine, "alice"};
};

TEST_F(CleanerTick, PlentyOfFreeMemoryMeansNoCleaning) {
    holder.minuteTick();
    EXPECT_TRUE(ramhold().calls.empty());
}

TEST_F(CleanerTick, FreeMemoryExactlyAtTheTriggerCleans) {
    machine.setMemory(1024 * MB, 128 * MB);   // the default trigger is 128 MB
    machine.clock.advance(60000);
    holder.minuteTick();
    ASSERT_EQ(ramhold().calls.size(), 1u);
    EXPECT_EQ(ramhold().calls[0].name, "MallocFirst");
    EXPECT_EQ(ramhold().calls[0].sizeMB, 128);
    EXPECT_EQ(holder.ui.text(StatusWindow::Graph, StatusControl::LastRunText).substr(0, 16), "2026/12/07 9:01:");
    machine.setMemory(1024 * MB, 128 * MB + 1);
    holder.finishCleaning();
    // Its start time and result go to the file once it has ended.
    EXPECT_EQ(stored("ShExTime").substr(0, 16), "2026/12/07 9:01:");
    EXPECT_EQ(holder.ui.text(StatusWindow::Graph, StatusControl::LastRunText), stored("ShExTime"));
    holder.minuteTick();
    EXPECT_EQ(ramhold().calls.size(), 1u);
}

TEST_F(CleanerTick, NoNewCleaningWhileTheLibraryHoldsMemory) {
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();
    holder.minuteTick();   // the first cleaning has not finished
    EXPECT_EQ(ramhold().calls.size(), 1u);
    ramhold().finish();
    machine.clock.advance(2 * 60000);   // past the wait after a cleaning that did not help
    holder.minuteTick();
    EXPECT_EQ(ramhold().calls.size(), 2u);
}

TEST_F(CleanerTick, WatchedProgramHoldsTheCleanerBack) {
    watch("game.exe");
    machine.runningProcesses = std::vector<std::string>{"System", "Game.EXE"};
    machine.setMemory(1024 * MB, 10 * MB);
    const std::string before = stored("ShExTime");
    holder.minuteTick();
    EXPECT_TRUE(ramhold().calls.empty());
    EXPECT_EQ(stored("ShExTime"), before);
    machine.runningProcesses = std::vector<std::string>{"System"};
    holder.minuteTick();
    EXPECT_EQ(ramhold().calls.size(), 1u);
}

TEST_F(CleanerTick, SlowCleaningUsesTheStoredStepAndPause) {
    store("AppSettingFlag", "MemCleanForm", "Slow");
    store("AppSettingFlag", "SlowMemCleanSetting", "2000>8");
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();
    ASSERT_EQ(ramhold().calls.size(), 1u);
    EXPECT_EQ(ramhold().calls[0].name, "MallocSlow");
    EXPECT_EQ(ramhold().calls[0].stepBytes, 8 * 1048576);
    EXPECT_EQ(ramhold().calls[0].pauseMs, 2000);
}

TEST_F(CleanerTick, SlowCleaningIsBrokenOffWhenMemoryRecoversOrAWatchedProgramStarts) {
    store("AppSettingFlag", "MemCleanForm", "Slow");
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();
    holder.secondTick();
    EXPECT_EQ(ramhold().breaks, 0);
    machine.setMemory(1024 * MB, 500 * MB);
    holder.secondTick();
    EXPECT_EQ(ramhold().breaks, 1);
    EXPECT_EQ(ramhold().stepwiseClaimStatus(), platform::slowstatus::Interrupted);

    // Again, and this time a watched program starts during the cleaning.
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();
    ASSERT_EQ(ramhold().stepwiseClaimStatus(), platform::slowstatus::Claiming);
    watch("game.exe");
    machine.runningProcesses = std::vector<std::string>{"game.exe"};
    holder.minuteTick();
    EXPECT_EQ(ramhold().breaks, 2);
}

TEST_F(CleanerTick, UnwritableSettingsPauseTheCleanerButKeepTheRight) {
    machine.files.denyWrites(holder.state.settings.sharedPath);
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();   // the renewal fails: the write flag goes, the right stays
    EXPECT_FALSE(holder.state.settings.sharedWritable);
    EXPECT_TRUE(holder.state.right.held);
    const auto calls = ramhold().calls.size();
    ramhold().finish();
    holder.minuteTick();   // still unwritable: this minute waits
    EXPECT_EQ(ramhold().calls.size(), calls);
    EXPECT_EQ(holder.ui.tooltip(StatusWindow::Simple, StatusControl::LastRunCaption), "メモリークリーナー実行権はありません");
    machine.files.allowWrites(holder.state.settings.sharedPath);
    machine.clock.advance(2 * 60000);
    holder.minuteTick();
    EXPECT_TRUE(holder.state.right.held);
    EXPECT_GT(ramhold().calls.size(), calls);
}

TEST_F(CleanerTick, MissingLibraryIsReportedOnceAndNothingCrashes) {
    ramhold().makeMissing();
    machine.setMemory(1024 * MB, 10 * MB);
    holder.minuteTick();
    holder.minuteTick();
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "メモリー確保ライブラリ「Ramhold.dll」を読み込めませんでした。\r\nメモリークリーナーは実行されません。");
}

} // namespace
} // namespace tidemark::monitor
