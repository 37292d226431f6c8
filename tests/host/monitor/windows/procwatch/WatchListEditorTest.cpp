// Editing the watch list: every way a file is checked and added, the whole
// section read (entries without a path included) and saved in one write.
#include <gtest/gtest.h>

#include "monitor/windows/procwatch/WatchListEditor.h"
#include "shared/settings/SettingsFiles.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;

class WatchListEditing : public testing::SimFixture {
protected:
    WatchListEditing() {
        state.settings.sharedPath = sharedSettingsPath(alice.platform().process);
        machine.shortcutTargets["c:\\menu\\game.lnk"] = "C:\\Games\\game.exe";
        machine.shortcutTargets["c:\\menu\\readme.lnk"] = "C:\\Games\\readme.txt";
        machine.shortcutTargets["c:\\menu\\café.lnk"] = "C:\\Zoë\\ゲーム.exe";
    }
    std::string file() { return machine.files.contents(state.settings.sharedPath); }
    ProgramState state;
};

TEST_F(WatchListEditing, EachWayOfAddingIsCheckedAsOneTable) {
    const std::string item = "追加指定項目 \r\n";
    struct Case {
        const char* path;
        bool ask;
        std::vector<MessageAnswer> answers;
        const char* added;                        // the entry's "name>path", or nullptr
        std::vector<std::string> messages;        // title ": " text's last line
    } cases[] = {
        {"C:\\Games\\game.exe", true, {Yes}, "game.exe>C:\\Games\\game.exe", {"プロセス監視設定: を追加しますか？"}},
        {"C:\\Games\\game.exe", true, {No}, nullptr, {"プロセス監視設定: を追加しますか？"}},
        {"C:\\Games\\game.exe", false, {}, "game.exe>C:\\Games\\game.exe", {}},
        {"C:\\Menu\\Game.lnk", false, {}, "game.exe>C:\\Games\\game.exe", {}},
        {"C:\\Menu\\Readme.lnk", false, {}, nullptr, {"入力エラー: 実行形式のファイルかショートカットを指定してください"}},
        {"C:\\Menu\\Tool.link", false, {}, nullptr, {"入力エラー: 実行形式のファイルかショートカットを指定してください"}},
        {"C:\\Docs\\readme.txt", true, {}, nullptr, {"入力エラー: 実行形式のファイルかショートカットを指定してください"}},
        {"C:\\TM\\tidemark.EXE", true, {Yes}, "tidemark.EXE>C:\\TM\\tidemark.EXE", {"プロセス監視設定の警告: よろしいですか？"}},
        {"C:\\TM\\Tidemark.exe", true, {No}, nullptr, {"プロセス監視設定の警告: よろしいですか？"}},
        {"C:\\Windows\\Explorer.exe", false, {}, nullptr, {"プロセス監視設定の警告: 追加指定することは出来ません。"}},
        {"C:\\TM\\CORVID.exe", true, {}, nullptr, {"プロセス監視設定の警告: 追加指定することは出来ません。"}},
        {"C:\\TM\\cascada.EXE", true, {}, nullptr, {"プロセス監視設定の警告: 追加指定することは出来ません。"}},
        {"C:\\TM\\JobSmith.exe", true, {}, nullptr, {"プロセス監視設定の警告: 追加指定することは出来ません。"}},
        {"D:\\NOTEPAD.EXE", false, {}, nullptr, {"プロセス監視設定: は登録済みです"}},
        // Names the settings file cannot hold as they are: no key, or another spelling.
        {"C:\\Beta\\a=b.exe", false, {}, nullptr, {"入力エラー: 「=」を含む名前と、「[」か「;」で始まる名前は追加指定できません。"}},
        {"C:\\Beta\\[Beta] Client.exe", true, {}, nullptr, {"入力エラー: 「=」を含む名前と、「[」か「;」で始まる名前は追加指定できません。"}},
        {"C:\\Old\\;old.exe", true, {}, nullptr, {"入力エラー: 「=」を含む名前と、「[」か「;」で始まる名前は追加指定できません。"}},
        {"C:\\Cafe\\Café.exe", true, {}, nullptr, {"入力エラー: 追加指定することは出来ません。"}},
        {"C:\\Menu\\Café.lnk", false, {}, "ゲーム.exe>", {}},   // a path it cannot hold is left out
        {"C:\\ゲーム\\ゲーム.exe", false, {}, "ゲーム.exe>C:\\ゲーム\\ゲーム.exe", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        machine.messages.clear();
        machine.scriptedAnswers.assign(c.answers.begin(), c.answers.end());
        std::vector<WatchEntry> list{{"notepad.exe", "C:\\Windows\\notepad.exe"}};
        const bool added = addWatchedFile(alice.platform(), 0x77, list, "Tidemark.exe", c.path, c.ask);
        EXPECT_EQ(added, c.added != nullptr);
        ASSERT_EQ(list.size(), added ? 2u : 1u);
        if (added) {
            EXPECT_EQ(list[1].name + ">" + list[1].path, c.added);
        }
        std::vector<std::string> shown;
        for (const auto& m : machine.messages) {
            const std::string& text = m.request.text;
            shown.push_back(m.request.title + ": " + text.substr(text.rfind('\n') + 1));
            EXPECT_EQ(m.request.owner, 0x77u);
            if (c.added == nullptr && m.request.title == "入力エラー" && text.find('\n') != std::string::npos) {
                EXPECT_NE(text.find(std::string(c.path).substr(std::string(c.path).rfind('\\') + 1)), std::string::npos)
                    << "names the program: " << text;
            }
            if (m.request.title != "入力エラー") {
                EXPECT_EQ(text.rfind(item, 0), 0u) << text;
            }
        }
        EXPECT_EQ(shown, c.messages);
    }
}

TEST_F(WatchListEditing, TwoThousandEntriesLoadAndSaveByteIdentical) {
    std::string text = "[AppSettingFlag]\r\nSTMCProcReplaceFlag=True\r\n[ExitTrigProcList]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "program" + std::to_string(i) + ".exe=C:\\Program Files\\Vendor " + std::to_string(i) + "\\program" +
                std::to_string(i) + ".exe\r\n";
    text += "nopath.exe=\r\n";
    machine.files.putFile(state.settings.sharedPath, text);
    const auto list = readWatchList(alice.platform(), state);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2001u);
    EXPECT_EQ(list->back(), (WatchEntry{"nopath.exe", ""}));
    ASSERT_TRUE(saveWatchList(alice.platform(), state, *list));
    EXPECT_EQ(file(), text);
}

TEST_F(WatchListEditing, SavingIsOneWriteWithTheFlagAndTellsItsResult) {
    SettingsFiles files(alice.platform(), state);
    files.write("ExitTrigProcList", "old.exe", std::string("C:\\old.exe"));
    ASSERT_TRUE(saveWatchList(alice.platform(), state, {{"new.exe", "C:\\new.exe"}}));
    EXPECT_EQ(files.keyNames("ExitTrigProcList"), std::vector<std::string>{"new.exe"});
    EXPECT_EQ(files.read("AppSettingFlag", "STMCProcReplaceFlag"), "True");
    // An entry no key can hold is left out; the others are saved.
    ASSERT_TRUE(saveWatchList(alice.platform(), state, {{"a=b.exe", ""}, {"new.exe", "C:\\new.exe"}}));
    EXPECT_EQ(files.keyNames("ExitTrigProcList"), std::vector<std::string>{"new.exe"});
    ASSERT_TRUE(saveWatchList(alice.platform(), state, {}));
    EXPECT_TRUE(files.keyNames("ExitTrigProcList").empty());
    EXPECT_EQ(files.read("AppSettingFlag", "STMCProcReplaceFlag"), "NonProc");

    const std::string before = file();
    machine.files.denyWrites(state.settings.sharedPath);
    EXPECT_FALSE(saveWatchList(alice.platform(), state, {{"new.exe", "C:\\new.exe"}}));
    EXPECT_EQ(file(), before);
    machine.files.denyReads(state.settings.sharedPath);
    EXPECT_FALSE(readWatchList(alice.platform(), state));
}

} // namespace
} // namespace tidemark::monitor
