// The check of the running programs against the watch list, with the
// reload handshake through "STMCProcReplaceFlag".
#include <gtest/gtest.h>

#include "shared/cleaner/ProcessWatch.h"
#include "shared/settings/SettingsFiles.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class ProcessWatchCheck : public testing::SimFixture {
protected:
    ProcessWatchCheck() { state.settings.sharedPath = sharedSettingsPath(alice.platform().process); }
    void store(const char* section, const std::string& key, const std::string& value) {
        SettingsFiles(alice.platform(), state).write(section, key, value);
    }
    std::string flag() {
        return SettingsFiles(alice.platform(), state).read("AppSettingFlag", "STMCProcReplaceFlag");
    }
    bool check() { return cleaner::watchedProgramRunning(alice.platform(), state, cache); }
    void running(std::vector<std::string> names) { machine.runningProcesses = std::move(names); }

    ProgramState state;
    std::vector<std::string> cache;
};

TEST_F(ProcessWatchCheck, ListIsReadAtEveryCheckAndMatchedWithoutCase) {
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    running({"System", "GAME.EXE"});
    EXPECT_TRUE(check());
    EXPECT_EQ(cache, std::vector<std::string>{"game.exe"});
    EXPECT_EQ(flag(), "False");
    running({"System"});
    EXPECT_FALSE(check());
    // With "False" too the list is read anew: the flag told only the first
    // reader that it changed.
    store("ExitTrigProcList", "other.exe", "C:\\other.exe");
    running({"other.exe"});
    EXPECT_TRUE(check());
    EXPECT_EQ(cache, (std::vector<std::string>{"game.exe", "other.exe"}));
}

// A list of a few thousand programs is read whole: the last one listed is
// waited for as the first is.
TEST_F(ProcessWatchCheck, LongListIsReadWhole) {
    std::vector<profile::ProfileEdit> edits;
    for (int i = 0; i < 2000; ++i)
        edits.push_back({"ExitTrigProcList", "Program" + std::to_string(i) + ".exe", "C:\\Vendor\\p.exe"});
    ASSERT_TRUE(SettingsFiles(alice.platform(), state).writeAll(edits));
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    running({"program1999.exe"});
    EXPECT_TRUE(check());
    EXPECT_EQ(cache.size(), 2000u);
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

// "NonProc" (the list was emptied) waits for nothing, even where a copy
// finds a running program still listed.
TEST_F(ProcessWatchCheck, NonProcWaitsForNothingWhileTheListStillNamesARunningProgram) {
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    store("AppSettingFlag", "STMCProcReplaceFlag", "NonProc");
    running({"game.exe"});
    EXPECT_FALSE(check());
}

TEST_F(ProcessWatchCheck, WatchSettingOffUnlessFalseOrMissing) {
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    running({"game.exe"});
    EXPECT_FALSE(check());
    store("AppSettingFlag", "ProcWatchSetting", "False");
    EXPECT_FALSE(check());
    store("AppSettingFlag", "ProcWatchSetting", "yes");   // anything else is on
    EXPECT_TRUE(check());
}

TEST_F(ProcessWatchCheck, UnreadableSettingsFileHoldsTheCleanerBack) {
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    running({"only.exe"});
    EXPECT_FALSE(check());
    machine.files.denyReads(state.settings.sharedPath);
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
    const auto before = machine.clock.monotonicMs();
    const auto names = cleaner::runningProgramNames(alice.platform());
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 3u);
    EXPECT_EQ(machine.clock.monotonicMs() - before, 3u);
    running({"one.exe"});
    EXPECT_EQ(cleaner::runningProgramNames(alice.platform())->size(), 1u);
}

TEST_F(ProcessWatchCheck, DroppedFilesBecomeProcessNames) {
    machine.shortcutTargets["c:\\users\\alice\\desktop\\game.lnk"] = "C:\\Games\\game.exe";
    machine.shortcutTargets["c:\\users\\alice\\desktop\\doc.lnk"] = "C:\\Docs\\a.txt";
    struct Case {
        const char* dropped;
        bool isProgram;
        const char* name;
        const char* fullPath;
    };
    for (const Case& c : {Case{"C:\\Tools\\Paint.EXE", true, "Paint.EXE", "C:\\Tools\\Paint.EXE"},
                          Case{"C:\\Docs\\a.txt", false, "", "C:\\Docs\\a.txt"},
                          Case{"C:\\Users\\alice\\Desktop\\Game.LNK", true, "game.exe", "C:\\Games\\game.exe"},
                          Case{"C:\\Users\\alice\\Desktop\\doc.lnk", false, "", "C:\\Docs\\a.txt"},
                          Case{"C:\\broken.lnk", false, "", ""}}) {
        const cleaner::DroppedFile d = cleaner::programOfDroppedFile(alice.platform(), c.dropped);
        EXPECT_EQ(d.isProgram, c.isProgram) << c.dropped;
        EXPECT_EQ(d.name, c.name) << c.dropped;
        EXPECT_EQ(d.fullPath, c.fullPath) << c.dropped;
    }
}

} // namespace
} // namespace tidemark
