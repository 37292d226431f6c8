// The check of the running programs against the watch list, with the
// reload handshake through "STMCProcReplaceFlag".
#include <gtest/gtest.h>

#include "monitor/procwatch/ProcessWatch.h"
#include "shared/IniOpe.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

class ProcessWatchCheck : public testing::SimFixture {
protected:
    ProcessWatchCheck() { state.strIniFilePath = sharedSettingsPath(alice.platform().process); }
    void store(const char* section, const std::string& key, const std::string& value) {
        IniOpe(alice.platform(), state).IniWriteTask(section, key, value);
    }
    std::string flag() {
        long n = 0;
        return IniOpe(alice.platform(), state).IniReadTask("AppSettingFlag", "STMCProcReplaceFlag", n);
    }
    bool check() { return ProcessWatch::checkProcessTask(alice.platform(), state, cache); }
    void running(std::vector<std::string> names) { machine.runningProcesses = std::move(names); }

    ProgramState state;
    std::vector<std::string> cache;
};

TEST_F(ProcessWatchCheck, ChangedListIsReloadedOnceAndMatchedWithoutCase) {
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    running({"System", "GAME.EXE"});
    EXPECT_TRUE(check());
    EXPECT_EQ(cache, std::vector<std::string>{"game.exe"});
    EXPECT_EQ(flag(), "False");
    running({"System"});
    EXPECT_FALSE(check());
    // With "False" the cache is used as it is, even if the section changed.
    store("ExitTrigProcList", "other.exe", "C:\\other.exe");
    running({"other.exe"});
    EXPECT_FALSE(check());
}

TEST_F(ProcessWatchCheck, MissingOrSpecialFlagsAnswerAtOnce) {
    store("AppSettingFlag", "ProcWatchSetting", "True");
    cache = {"game.exe"};
    running({"game.exe"});
    EXPECT_FALSE(check());   // no flag at all
    store("AppSettingFlag", "STMCProcReplaceFlag", "NonProc");
    EXPECT_FALSE(check());
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");   // but the section is empty
    EXPECT_FALSE(check());
    EXPECT_EQ(flag(), "True");
    EXPECT_FALSE(check());
}

TEST_F(ProcessWatchCheck, WatchSettingOffUnlessFalseOrMissing) {
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    cache = {"game.exe"};
    running({"game.exe"});
    EXPECT_FALSE(check());
    store("AppSettingFlag", "ProcWatchSetting", "False");
    EXPECT_FALSE(check());
    store("AppSettingFlag", "ProcWatchSetting", "yes");   // anything else is on
    EXPECT_TRUE(check());
}

TEST_F(ProcessWatchCheck, UnreadableProcessesHoldTheCleanerBackEvenWithNoList) {
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    machine.runningProcesses.reset();
    EXPECT_TRUE(check());
    running({});
    EXPECT_TRUE(check());   // an empty snapshot is a failed one
    running({"only.exe"});
    EXPECT_FALSE(check());
}

TEST_F(ProcessWatchCheck, SnapshotPausesAMillisecondPerProcess) {
    running({"a.exe", "b.exe", "c.exe"});
    long last = 0;
    const auto before = machine.clock.monotonicMs();
    const auto names = ProcessWatch::GetSnapShot(alice.platform(), last);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(machine.clock.monotonicMs() - before, 3u);
    running({"one.exe"});
    ProcessWatch::GetSnapShot(alice.platform(), last);
    EXPECT_EQ(last, 0);
}

TEST_F(ProcessWatchCheck, DroppedFilesBecomeProcessNames) {
    std::string name, path;
    EXPECT_TRUE(ProcessWatch::GetProcName(alice.platform(), "C:\\Tools\\Paint.EXE", name, path));
    EXPECT_EQ(name, "Paint.EXE");
    EXPECT_EQ(path, "C:\\Tools\\Paint.EXE");
    EXPECT_FALSE(ProcessWatch::GetProcName(alice.platform(), "C:\\Docs\\a.txt", name, path));
    EXPECT_EQ(name, "");
    EXPECT_EQ(path, "C:\\Docs\\a.txt");
    machine.shortcutTargets["c:\\users\\alice\\desktop\\game.lnk"] = "C:\\Games\\game.exe";
    machine.shortcutTargets["c:\\users\\alice\\desktop\\doc.lnk"] = "C:\\Docs\\a.txt";
    EXPECT_TRUE(ProcessWatch::GetProcName(alice.platform(), "C:\\Users\\alice\\Desktop\\Game.LNK", name, path));
    EXPECT_EQ(name, "game.exe");
    EXPECT_EQ(path, "C:\\Games\\game.exe");
    EXPECT_FALSE(ProcessWatch::GetProcName(alice.platform(), "C:\\Users\\alice\\Desktop\\doc.lnk", name, path));
    EXPECT_EQ(path, "C:\\Docs\\a.txt");
    EXPECT_FALSE(ProcessWatch::GetProcName(alice.platform(), "C:\\broken.lnk", name, path));
    EXPECT_EQ(path, "");
}

} // namespace
} // namespace tidemark::monitor
