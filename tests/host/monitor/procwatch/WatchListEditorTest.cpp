// Editing the watch list: adding with its checks and questions, reading and
// saving with the reload flag.
#include <gtest/gtest.h>

#include "monitor/procwatch/WatchListEditor.h"
#include "shared/settings/SettingsFiles.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;

class WatchListEditing : public testing::SimFixture {
protected:
    WatchListEditing() { state.settings.sharedPath = sharedSettingsPath(alice.platform().process); }
    void add(const std::string& path, bool ask = true) {
        changed = addDroppedFile(alice.platform(), list, "Tidemark.exe", path, ask) || changed;
    }
    const std::string& lastMessage() { return machine.messages.back().request.text; }

    ProgramState state;
    WatchListEdit list;
    bool changed = false;
};

TEST_F(WatchListEditing, AddingAsksFirstAndEnablesSaving) {
    machine.scriptedAnswers = {MessageAnswer::No};
    add("C:\\Games\\game.exe");
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\ngame.exe\r\nを追加しますか？");
    add("C:\\Games\\game.exe");
    EXPECT_EQ(list.names, std::vector<std::string>{"game.exe"});
    EXPECT_EQ(list.entries, std::vector<std::string>{"game.exe>C:\\Games\\game.exe"});
    EXPECT_TRUE(changed);
    EXPECT_TRUE(list.saveEnabled);
    EXPECT_EQ(list.saveTooltip, "変更された設定を保存します");
    EXPECT_TRUE(list.saveMenuEnabled);
}

TEST_F(WatchListEditing, DuplicatesAreRefusedOnlyWhenSpelledTheSame) {
    add("C:\\Games\\game.exe");
    add("D:\\game.exe");
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\ngame.exe\r\nは登録済みです");
    EXPECT_EQ(machine.messages.back().request.title, "プロセス監視設定");
    add("D:\\GAME.exe");
    EXPECT_EQ(list.names.size(), 2u);
}

TEST_F(WatchListEditing, ProtectedProgramsCannotBeAddedButCaseMatters) {
    add("C:\\Windows\\explorer.exe");
    EXPECT_EQ(lastMessage(), "追加指定項目 \r\nexplorer.exe\r\nはこのプログラムの管理に必要なプロセスです。\r\n追加指定することは出来ません。");
    add("C:\\Program Files\\Tidemark\\Corvid.exe");
    EXPECT_TRUE(list.names.empty());
    add("C:\\Windows\\Explorer.exe");
    EXPECT_EQ(list.names, std::vector<std::string>{"Explorer.exe"});
}

TEST_F(WatchListEditing, OwnProgramIsAddedAfterAWarningWithoutTheSecondQuestion) {
    add("C:\\Program Files\\Tidemark\\Tidemark.exe");
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.title, "プロセス監視設定の警告");
    EXPECT_EQ(list.names, std::vector<std::string>{"Tidemark.exe"});
    machine.scriptedAnswers = {MessageAnswer::No};
    list = WatchListEdit{};
    add("C:\\Program Files\\Tidemark\\Tidemark.exe");
    EXPECT_TRUE(list.names.empty());
}

TEST_F(WatchListEditing, DocumentsAreRefused) {
    add("C:\\Docs\\readme.txt");
    EXPECT_EQ(machine.messages.back().request.title, "入力エラー");
    EXPECT_EQ(lastMessage(), "実行形式のファイルかショートカットを指定してください");
}

TEST_F(WatchListEditing, SavingWritesTheListAndRaisesTheFlag) {
    SettingsFiles files(alice.platform(), state);
    files.write("ExitTrigProcList", "empty.exe", std::string(""));
    files.write("ExitTrigProcList", "old.exe", std::string("C:\\old.exe"));
    readWatchList(alice.platform(), state, list);
    EXPECT_EQ(list.names, std::vector<std::string>{"old.exe"});   // an entry without a path is left out
    add("C:\\new.exe");
    saveWatchList(alice.platform(), state, list);
    EXPECT_EQ(lastMessage(), "プロセス設定が登録されました");
    EXPECT_EQ(files.read("AppSettingFlag", "STMCProcReplaceFlag"), "True");
    EXPECT_EQ(files.keyNames("ExitTrigProcList"), (std::vector<std::string>{"old.exe", "new.exe"}));
    list = WatchListEdit{};
    saveWatchList(alice.platform(), state, list);
    EXPECT_EQ(files.read("AppSettingFlag", "STMCProcReplaceFlag"), "NonProc");
    EXPECT_TRUE(files.keyNames("ExitTrigProcList").empty());
}

} // namespace
} // namespace tidemark::monitor
