// The cleaner's settings: stored values, their defaults and limits, and the
// text forms the settings file may hold.
#include <gtest/gtest.h>

#include "monitor/core/MemoryCleaner.h"
#include "shared/system/NumberText.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

constexpr std::uint64_t MB = 1048576;

class CleanerSettings : public testing::SimFixture {
protected:
    CleanerSettings() {
        copy.state.settings.sharedPath = sharedSettingsPath(copy.process->platform().process);
    }
    void memory(std::uint64_t totalMB) {
        machine.setMemory(totalMB * MB, totalMB * MB / 2);
        cleaning::refreshMemoryStatus(copy.context);
    }
    void store(const char* key, const std::string& value) {
        SettingsFiles(copy.process->platform(), copy.state).write("AppSettingFlag", key, value);
    }
    void read() { cleaning::readSettings(copy.context); }
    MonitorState& s() { return copy.state; }

    testing::MonitorCopy copy{machine, "bob"};   // bob is not an administrator
};

TEST_F(CleanerSettings, DefaultsFollowPhysicalMemory) {
    memory(512);
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, 134217728);
    EXPECT_EQ(s().cleaner.sizeMB, 128);
    EXPECT_EQ(s().cleaner.mode, 0);
    EXPECT_EQ(s().cleaner.slowPauseMs, 5000);
    EXPECT_EQ(s().cleaner.slowStepBytes, 5242880);
    memory(96);
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, 52428800);
    EXPECT_EQ(s().cleaner.sizeMB, 50);
    memory(300);   // a third: 100 MB, inside the limits
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, static_cast<std::int64_t>(300 * MB / 3));
    EXPECT_EQ(s().cleaner.sizeMB, 100);
}

TEST_F(CleanerSettings, StoredTriggerTooCloseToTotalBecomesAThirdWithoutLimits) {
    memory(1024);
    store("MemCleanExeMemSize", std::to_string(960 * MB));
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, static_cast<std::int64_t>(1024 * MB / 3));   // above 128 MB: no clamp
    store("MemCleanExeMemSize", std::to_string(959 * MB));
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, static_cast<std::int64_t>(959 * MB));
}

TEST_F(CleanerSettings, StoredSizeIsHeldBelowTotalLess64MB) {
    memory(1024);
    store("MemCleanSize", "4000");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 960);
    store("MemCleanSize", "500");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 500);
    store("MemCleanSize", "960");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 960);
    // Between total less 64 MB and total: held too, never nearly all memory.
    for (const char* stored : {"961", "1000", "1023", "1024"}) {
        store("MemCleanSize", stored);
        read();
        EXPECT_EQ(s().cleaner.sizeMB, 960) << stored;
    }
}

TEST_F(CleanerSettings, NumbersAreLeadingDecimalsRoundedHalfToEven) {
    memory(1024);
    store("MemCleanSize", "12.5MB");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 12);
    store("MemCleanSize", " 13.5");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 14);
    EXPECT_EQ(leadingNumber("-2.5"), -2);
    EXPECT_EQ(leadingNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_FALSE(leadingNumber("abc").has_value());
    EXPECT_FALSE(leadingNumber("").has_value());
}

TEST_F(CleanerSettings, ValuesThatAreNotNumbersOrAreNegativeTakeTheDefault) {
    memory(512);
    store("MemCleanExeMemSize", "lots");
    store("MemCleanSize", "-5");
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, 134217728);
    EXPECT_EQ(s().cleaner.sizeMB, 128);
}

TEST_F(CleanerSettings, SizeBeyondSixteenBitsIsHeldWithoutOverflow) {
    memory(128 * 1024);   // 128 GB: total less 64 MB does not fit 16 bits either
    store("MemCleanSize", "70000");
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 32767);
    std::int32_t step = s().cleaner.slowStepBytes;
    cleaning::runCleaning(copy.context, 0, step, 5000);
    EXPECT_EQ(copy.process->ramhold.calls.back().sizeMB, 4096);   // the call is capped at 4096
}

TEST_F(CleanerSettings, SlowSettingIsPauseAndStepInMegabytes) {
    memory(1024);
    store("SlowMemCleanSetting", "250>16");
    store("MemCleanForm", "Slow");
    read();
    EXPECT_EQ(s().cleaner.mode, 1);
    EXPECT_EQ(s().cleaner.slowPauseMs, 250);
    EXPECT_EQ(s().cleaner.slowStepBytes, 16 * 1048576);
    store("MemCleanForm", "slow");
    read();
    EXPECT_EQ(s().cleaner.mode, 0);   // only "Slow" itself
}

TEST_F(CleanerSettings, MalformedSlowSettingFallsBackPartByPart) {
    memory(1024);
    store("SlowMemCleanSetting", "3000");          // no ">"
    read();
    EXPECT_EQ(s().cleaner.slowPauseMs, 5000);
    EXPECT_EQ(s().cleaner.slowStepBytes, 5242880);
    store("SlowMemCleanSetting", "x>-3");
    read();
    EXPECT_EQ(s().cleaner.slowPauseMs, 5000);
    EXPECT_EQ(s().cleaner.slowStepBytes, 5242880);
    store("SlowMemCleanSetting", "100>5000");      // a step beyond 2047 MB
    read();
    EXPECT_EQ(s().cleaner.slowPauseMs, 100);
    EXPECT_EQ(s().cleaner.slowStepBytes, 2047 * 1048576);
}

TEST_F(CleanerSettings, ZeroPauseAndStepMakeAFastCleaningInstead) {
    memory(1024);
    store("SlowMemCleanSetting", "0>0");
    store("MemCleanForm", "Slow");
    read();
    EXPECT_EQ(s().cleaner.slowStepBytes, 0);
    cleaning::runCleaning(copy.context, s().cleaner.mode, s().cleaner.slowStepBytes, s().cleaner.slowPauseMs);
    EXPECT_EQ(s().cleaner.slowStepBytes, 5242880);   // corrected at the call
    ASSERT_EQ(copy.process->ramhold.calls.size(), 1u);
    EXPECT_EQ(copy.process->ramhold.calls[0].name, "MallocFirst");
}

TEST_F(CleanerSettings, ChangedPhysicalMemoryWarnsAnOrdinaryUserOnce) {
    memory(1024);
    store("PhysMemSize", std::to_string(512 * MB));
    store("MemCleanExeMemSize", std::to_string(100 * MB));
    store("MemCleanSize", "5000");
    read();
    EXPECT_EQ(s().cleaner.triggerBytes, 134217728);     // the defaults replace the stored values
    EXPECT_EQ(s().cleaner.sizeMB, 128);
    read();
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "物理メモリーが変更された可能性があります\r管理者に連絡し、メモリークリーナーの設定をやり直してください\r"
              "正式に設定されるまでプログラムが設定した値が代入されます");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
    EXPECT_EQ(copy.ui.settingsShown, 0);
    EXPECT_EQ(s().cleaner.physMemSize, static_cast<std::int64_t>(1024 * MB));
}

TEST_F(CleanerSettings, ChangedPhysicalMemoryTakesAnAdministratorToTheSettings) {
    testing::MonitorCopy admin{machine, "alice"};
    admin.state.settings.sharedPath = copy.state.settings.sharedPath;
    machine.setMemory(8192 * MB, 4096 * MB);
    cleaning::refreshMemoryStatus(admin.context);
    store("PhysMemSize", "1");
    cleaning::readSettings(admin.context);
    cleaning::readSettings(admin.context);
    ASSERT_EQ(machine.messages.size(), 2u);
    EXPECT_EQ(machine.messages[1].request.text, "物理メモリーが変更された可能性があります\rメモリークリーナーの設定をやり直してください");
    EXPECT_EQ(admin.ui.settingsShown, 2);
    EXPECT_EQ(admin.state.cleaner.sizeMB, 128);   // the clamped trigger in MB
    admin.state.windows.settingsOpen = true;
    cleaning::readSettings(admin.context);
    EXPECT_EQ(admin.ui.settingsFronted, 1);
    admin.state.windows.adminBusy = true;
    cleaning::readSettings(admin.context);
    EXPECT_EQ(admin.ui.beeps, 1);
}

TEST_F(CleanerSettings, WritingBackStoresPhysicalMemoryOnlyForAdministrators) {
    memory(1024);
    read();
    cleaning::writeSettings(copy.context);
    SettingsFiles files(copy.process->platform(), copy.state);
    EXPECT_EQ(files.read("AppSettingFlag", "MemCleanExeMemSize"), "134217728");
    EXPECT_EQ(files.read("AppSettingFlag", "MemCleanSize"), "128");
    EXPECT_EQ(files.read("AppSettingFlag", "PhysMemSize"), "");
    testing::MonitorCopy admin{machine, "alice"};
    admin.state.settings.sharedPath = copy.state.settings.sharedPath;
    cleaning::refreshMemoryStatus(admin.context);
    cleaning::readSettings(admin.context);
    cleaning::writeSettings(admin.context);
    EXPECT_EQ(files.read("AppSettingFlag", "PhysMemSize"), std::to_string(1024 * MB));
}

TEST_F(CleanerSettings, NothingIsReadWhileTheSharedFileCannotBeWritten) {
    memory(1024);
    store("MemCleanSize", "77");
    s().settings.sharedWritable = false;
    s().cleaner.sizeMB = 5;
    read();
    EXPECT_EQ(s().cleaner.sizeMB, 5);
}

TEST(NumberTextFormat, GroupsThousands) {
    EXPECT_EQ(groupedDigits(0), "0");
    EXPECT_EQ(groupedDigits(999), "999");
    EXPECT_EQ(groupedDigits(1000), "1,000");
    EXPECT_EQ(groupedDigits(8388608), "8,388,608");
    EXPECT_EQ(groupedDigitsOrEmpty(0), "");
    EXPECT_EQ(groupedDigitsOrEmpty(1048576), "1,048,576");
}

} // namespace
} // namespace tidemark::monitor
