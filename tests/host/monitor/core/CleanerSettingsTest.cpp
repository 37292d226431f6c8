// The cleaner's settings: stored values, their defaults and limits, and the
// text forms the settings file may hold.
#include <gtest/gtest.h>

#include "monitor/core/MemSet.h"
#include "monitor/core/NumberText.h"
#include "shared/IniOpe.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

constexpr std::uint64_t MB = 1048576;

class CleanerSettings : public testing::SimFixture {
protected:
    CleanerSettings() {
        copy.state.strIniFilePath = sharedSettingsPath(copy.process->platform().process);
    }
    void memory(std::uint64_t totalMB) {
        machine.setMemory(totalMB * MB, totalMB * MB / 2);
        MemSet::RefreshMemoryStatus(copy.context);
    }
    void store(const char* key, const std::string& value) {
        IniOpe(copy.process->platform(), copy.state).IniWriteTask("AppSettingFlag", key, value);
    }
    void read() { MemSet::ReadMemCleanSetting(copy.context); }
    MonitorState& s() { return copy.state; }

    testing::MonitorCopy copy{machine, "bob"};   // bob is not an administrator
};

TEST_F(CleanerSettings, DefaultsFollowPhysicalMemory) {
    memory(512);
    read();
    EXPECT_EQ(s().decCleanTrigger, 134217728);
    EXPECT_EQ(s().intCleanSizeMB, 128);
    EXPECT_EQ(s().intMemCleanForm, 0);
    EXPECT_EQ(s().lngSlowSleepTime, 5000);
    EXPECT_EQ(s().lngSlowStepSize, 5242880);
    memory(96);
    read();
    EXPECT_EQ(s().decCleanTrigger, 52428800);
    EXPECT_EQ(s().intCleanSizeMB, 50);
    memory(300);   // a third: 100 MB, inside the limits
    read();
    EXPECT_EQ(s().decCleanTrigger, static_cast<std::int64_t>(300 * MB / 3));
    EXPECT_EQ(s().intCleanSizeMB, 100);
}

TEST_F(CleanerSettings, StoredTriggerTooCloseToTotalBecomesAThirdWithoutLimits) {
    memory(1024);
    store("MemCleanExeMemSize", std::to_string(960 * MB));
    read();
    EXPECT_EQ(s().decCleanTrigger, static_cast<std::int64_t>(1024 * MB / 3));   // above 128 MB: no clamp
    store("MemCleanExeMemSize", std::to_string(959 * MB));
    read();
    EXPECT_EQ(s().decCleanTrigger, static_cast<std::int64_t>(959 * MB));
}

TEST_F(CleanerSettings, StoredSizeIsHeldBelowTotalLess64MB) {
    memory(1024);
    store("MemCleanSize", "4000");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 960);
    store("MemCleanSize", "500");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 500);
    store("MemCleanSize", "960");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 960);
}

TEST_F(CleanerSettings, NumbersAreLeadingDecimalsRoundedHalfToEven) {
    memory(1024);
    store("MemCleanSize", "12.5MB");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 12);
    store("MemCleanSize", " 13.5");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 14);
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
    EXPECT_EQ(s().decCleanTrigger, 134217728);
    EXPECT_EQ(s().intCleanSizeMB, 128);
}

TEST_F(CleanerSettings, SizeBeyondSixteenBitsIsHeldWithoutOverflow) {
    memory(128 * 1024);   // 128 GB: total less 64 MB does not fit 16 bits either
    store("MemCleanSize", "70000");
    read();
    EXPECT_EQ(s().intCleanSizeMB, 32767);
    std::int32_t step = s().lngSlowStepSize;
    MemSet::RunMemClean(copy.context, 0, step, 5000);
    EXPECT_EQ(copy.process->ramhold.calls.back().sizeMB, 4096);   // the call is capped at 4096
}

TEST_F(CleanerSettings, SlowSettingIsPauseAndStepInMegabytes) {
    memory(1024);
    store("SlowMemCleanSetting", "250>16");
    store("MemCleanForm", "Slow");
    read();
    EXPECT_EQ(s().intMemCleanForm, 1);
    EXPECT_EQ(s().lngSlowSleepTime, 250);
    EXPECT_EQ(s().lngSlowStepSize, 16 * 1048576);
    store("MemCleanForm", "slow");
    read();
    EXPECT_EQ(s().intMemCleanForm, 0);   // only "Slow" itself
}

TEST_F(CleanerSettings, MalformedSlowSettingFallsBackPartByPart) {
    memory(1024);
    store("SlowMemCleanSetting", "3000");          // no ">"
    read();
    EXPECT_EQ(s().lngSlowSleepTime, 5000);
    EXPECT_EQ(s().lngSlowStepSize, 5242880);
    store("SlowMemCleanSetting", "x>-3");
    read();
    EXPECT_EQ(s().lngSlowSleepTime, 5000);
    EXPECT_EQ(s().lngSlowStepSize, 5242880);
    store("SlowMemCleanSetting", "100>5000");      // a step beyond 2047 MB
    read();
    EXPECT_EQ(s().lngSlowSleepTime, 100);
    EXPECT_EQ(s().lngSlowStepSize, 2047 * 1048576);
}

TEST_F(CleanerSettings, ZeroPauseAndStepMakeAFastCleaningInstead) {
    memory(1024);
    store("SlowMemCleanSetting", "0>0");
    store("MemCleanForm", "Slow");
    read();
    EXPECT_EQ(s().lngSlowStepSize, 0);
    MemSet::RunMemClean(copy.context, s().intMemCleanForm, s().lngSlowStepSize, s().lngSlowSleepTime);
    EXPECT_EQ(s().lngSlowStepSize, 5242880);   // corrected at the call
    ASSERT_EQ(copy.process->ramhold.calls.size(), 1u);
    EXPECT_EQ(copy.process->ramhold.calls[0].name, "MallocFirst");
}

TEST_F(CleanerSettings, ChangedPhysicalMemoryWarnsAnOrdinaryUserOnce) {
    memory(1024);
    store("PhysMemSize", std::to_string(512 * MB));
    store("MemCleanExeMemSize", std::to_string(100 * MB));
    store("MemCleanSize", "5000");
    read();
    EXPECT_EQ(s().decCleanTrigger, 134217728);     // the defaults replace the stored values
    EXPECT_EQ(s().intCleanSizeMB, 128);
    read();
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text,
              "物理メモリーが変更された可能性があります\r管理者に連絡し、メモリークリーナーの設定をやり直してください\r"
              "正式に設定されるまでプログラムが設定した値が代入されます");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
    EXPECT_EQ(copy.ui.settingsShown, 0);
    EXPECT_EQ(s().decPhysMemSize, static_cast<std::int64_t>(1024 * MB));
}

TEST_F(CleanerSettings, ChangedPhysicalMemoryTakesAnAdministratorToTheSettings) {
    testing::MonitorCopy admin{machine, "alice"};
    admin.state.strIniFilePath = copy.state.strIniFilePath;
    machine.setMemory(8192 * MB, 4096 * MB);
    MemSet::RefreshMemoryStatus(admin.context);
    store("PhysMemSize", "1");
    MemSet::ReadMemCleanSetting(admin.context);
    MemSet::ReadMemCleanSetting(admin.context);
    ASSERT_EQ(machine.messages.size(), 2u);
    EXPECT_EQ(machine.messages[1].request.text, "物理メモリーが変更された可能性があります\rメモリークリーナーの設定をやり直してください");
    EXPECT_EQ(admin.ui.settingsShown, 2);
    EXPECT_EQ(admin.state.intCleanSizeMB, 128);   // the clamped trigger in MB
    admin.state.bolFrmFixOpen = true;
    MemSet::ReadMemCleanSetting(admin.context);
    EXPECT_EQ(admin.ui.settingsFronted, 1);
    admin.state.bolAdmBusy = true;
    MemSet::ReadMemCleanSetting(admin.context);
    EXPECT_EQ(admin.ui.beeps, 1);
}

TEST_F(CleanerSettings, WritingBackStoresPhysicalMemoryOnlyForAdministrators) {
    memory(1024);
    read();
    MemSet::WriteMemCleanSetting(copy.context);
    long n = 0;
    IniOpe ini(copy.process->platform(), copy.state);
    EXPECT_EQ(ini.IniReadTask("AppSettingFlag", "MemCleanExeMemSize", n), "134217728");
    EXPECT_EQ(ini.IniReadTask("AppSettingFlag", "MemCleanSize", n), "128");
    ini.IniReadTask("AppSettingFlag", "PhysMemSize", n);
    EXPECT_EQ(n, 0);
    testing::MonitorCopy admin{machine, "alice"};
    admin.state.strIniFilePath = copy.state.strIniFilePath;
    MemSet::RefreshMemoryStatus(admin.context);
    MemSet::ReadMemCleanSetting(admin.context);
    MemSet::WriteMemCleanSetting(admin.context);
    EXPECT_EQ(ini.IniReadTask("AppSettingFlag", "PhysMemSize", n), std::to_string(1024 * MB));
}

TEST_F(CleanerSettings, NothingIsReadWhileTheSharedFileCannotBeWritten) {
    memory(1024);
    store("MemCleanSize", "77");
    s().bolIniWriteFlag = false;
    s().intCleanSizeMB = 5;
    read();
    EXPECT_EQ(s().intCleanSizeMB, 5);
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
