// Editing the watch list: adding with its checks and questions, reading and
// saving with the reload flag.
#include <gtest/gtest.h>

#include "monitor/procwatch/ProcOpe.h"
#include "shared/IniOpe.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;

class WatchListEditing : public testing::SimFixture {
protected:
    WatchListEditing() { state.strIniFilePath = sharedSettingsPath(alice.platform().process); }
    void add(const std::string& path, bool ask = true) {
        ProcOpe::ProcAddCheckTask(alice.platform(), list, "Tidemark.exe", path, ask, changed);
    }
    const std::string& lastMessage() { return machine.messages.back().request.text; }

    ProgramState state;
    WatchListEdit list;
    bool changed = false;
};

TEST_F(WatchListEditing, AddingAsksFirstAndEnablesSaving) {
    machine.scriptedAnswers = {MessageAnswer::No};
    add("C:\\Games\\game.exe");
    EXPECT_TRUE(list.lstDrop.empty());
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\ngame.exe\r\nを追加しますか？");
    add("C:\\Games\\game.exe");
    EXPECT_EQ(list.lstDrop, std::vector<std::string>{"game.exe"});
    EXPECT_EQ(list.HideLstDrop, std::vector<std::string>{"game.exe>C:\\Games\\game.exe"});
    EXPECT_TRUE(changed);
    EXPECT_TRUE(list.cmdReflecEnabled);
    EXPECT_EQ(list.cmdReflecTooltip, "変更された設定を保存します");
    EXPECT_TRUE(list.mnuSettingReflecEnabled);
}

TEST_F(WatchListEditing, DuplicatesAreRefusedOnlyWhenSpelledTheSame) {
    add("C:\\Games\\game.exe");
    add("D:\\game.exe");
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\ngame.exe\r\nは登録済みです");
    EXPECT_EQ(machine.messages.back().request.title, "プロセス監視設定");
    add("D:\\GAME.exe");
    EXPECT_EQ(list.lstDrop.size(), 2u);
}

TEST_F(WatchListEditing, ProtectedProgramsCannotBeAddedButCaseMatters) {
    add("C:\\Windows\\explorer.exe");
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\nexplorer.exe\r\nはこのプログラムの管理に必要なプロセスです。\r\n追加指定することは出来ません。");
    add("C:\\Program Files\\Tidemark\\Corvid.exe");
    EXPECT_TRUE(list.lstDrop.empty());
    add("C:\\Windows\\Explorer.exe");
    EXPECT_EQ(list.lstDrop, std::vector<std::string>{"Explorer.exe"});
}

TEST_F(WatchListEditing, OwnProgramIsAddedAfterAWarningWithoutTheSecondQuestion) {
    add("C:\\Program Files\\Tidemark\\Tidemark.exe");
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.title, "プロセス監視設定の警告");
    EXPECT_EQ(list.lstDrop, std::vector<std::string>{"Tidemark.exe"});
    machine.scriptedAnswers = {MessageAnswer::No};
    list = WatchListEdit{};
    add("C:\\Program Files\\Tidemark\\Tidemark.exe");
    EXPECT_TRUE(list.lstDrop.empty());
}

TEST_F(WatchListEditing, DocumentsAreRefused) {
    add("C:\\Docs\\readme.txt");
    EXPECT_EQ(machine.messages.back().request.title, "入力エラー");
    EXPECT_EQ(lastMessage(), "実行形式のファイルかショートカットを指定してください");
}

TEST_F(WatchListEditing, SavingWritesTheListAndRaisesTheFlag) {
    IniOpe ini(alice.platform(), state);
    ini.IniWriteTask("ExitTrigProcList", "empty.exe", std::string(""));
    ini.IniWriteTask("ExitTrigProcList", "old.exe", std::string("C:\\old.exe"));
    ProcOpe::ProcListReadTask(alice.platform(), state, list);
    EXPECT_EQ(list.lstDrop, std::vector<std::string>{"old.exe"});   // an entry without a path is left out
    add("C:\\new.exe");
    ProcOpe::ProcListWriteTask(alice.platform(), state, list);
    EXPECT_EQ(lastMessage(), "プロセス設定が登録されました");
    long n = 0;
    EXPECT_EQ(ini.IniReadTask("AppSettingFlag", "STMCProcReplaceFlag", n), "True");
    bool found = false;
    long last = 0;
    EXPECT_EQ(ini.GetIniKeyName("ExitTrigProcList", found, last), (std::vector<std::string>{"old.exe", "new.exe"}));
    list = WatchListEdit{};
    ProcOpe::ProcListWriteTask(alice.platform(), state, list);
    EXPECT_EQ(ini.IniReadTask("AppSettingFlag", "STMCProcReplaceFlag", n), "NonProc");
    ini.GetIniKeyName("ExitTrigProcList", found, last);
    EXPECT_FALSE(found);
}

} // namespace
} // namespace tidemark::monitor
