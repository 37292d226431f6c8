// The two programs around the transfer: who may run them, how Inkett reads
// its argument, and what Stowel's window does after each kind of outcome.
#include <gtest/gtest.h>

#include "support/SimFixture.h"
#include "transfer/Inkett.h"
#include "transfer/StowelPresenter.h"

namespace tidemark::transfer {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Quillon Kestrel";
constexpr const char* kSettings = "C:\\Program Files\\Quillon Kestrel\\Tidemark.ini";
const std::string kValidFile = "[AppSettingFlag]\r\nPhysMemSize=1073741824\r\nMemCleanForm=Slow\r\n";

class TransferTools : public testing::SimFixture {
protected:
    TransferTools() {
        machine.programFolder = kFolder;
        machine.files.makeDirectories(kFolder);
        machine.files.putFile(kSettings, "[AppSettingFlag]\r\nMemCleanForm=First\r\n");
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const auto& m : machine.messages) out.push_back(m.request.title);
        return out;
    }
};

TEST_F(TransferTools, InkettTakesItsPathInEveryFormAndRefusesOtherFiles) {
    machine.files.putFile("C:\\My Files\\Saved settings.vesk", kValidFile);
    machine.files.putFile("C:\\My Files\\UPPER.VESK", kValidFile);
    machine.files.putFile("C:\\MYFILE~1\\SAVEDS~1.VES", kValidFile);
    machine.files.putFile("C:\\Work\\rel.vesk", kValidFile);
    machine.files.putFile("C:\\My Files\\notes.txt", kValidFile);
    machine.files.currentFolder = "C:\\Work";
    struct Case {
        const char* arguments;
        InkettOutcome outcome;
        const char* firstTitle;
    };
    const Case cases[] = {
        {"", InkettOutcome::NoArgument, "単独実行できません"},
        {"   ", InkettOutcome::NoArgument, "単独実行できません"},
        {"\"C:\\My Files\\Saved settings.vesk\"", InkettOutcome::Imported, "設定読込み情報"},
        {"C:\\My Files\\Saved settings.vesk", InkettOutcome::Imported, "設定読込み情報"},
        {"\"C:\\My Files\\UPPER.VESK\" ", InkettOutcome::Imported, "設定読込み情報"},
        {"C:\\MYFILE~1\\SAVEDS~1.VES", InkettOutcome::Imported, "設定読込み情報"},
        {"rel.vesk", InkettOutcome::Imported, "設定読込み情報"},
        {"..\\Work\\.\\rel.vesk", InkettOutcome::Imported, "設定読込み情報"},
        {"\"C:\\My Files\\notes.txt\"", InkettOutcome::NotTransferFile, "インポートできません"},
        {"\"\"", InkettOutcome::NotTransferFile, "インポートできません"},
        {"\"C:\\My Files\\missing.vesk\"", InkettOutcome::NotImported, "設定ファイル読込みの失敗"},
    };
    for (const Case& c : cases) {
        machine.messages.clear();
        sim::SimProcess inkett(machine, "alice", "Inkett.exe", c.arguments);
        EXPECT_EQ(runInkett(inkett.platform(), 0), c.outcome) << c.arguments;
        ASSERT_FALSE(machine.messages.empty()) << c.arguments;
        EXPECT_EQ(machine.messages[0].request.title, c.firstTitle) << c.arguments;
        // Started alone, it ends before it asks who runs it.
        if (c.outcome == InkettOutcome::NoArgument) {
            EXPECT_EQ(inkett.userNameCalls, 0);
        }
    }
    EXPECT_EQ(transferPathArgument("\"C:\\a b\\x.vesk\" extra"), "C:\\a b\\x.vesk");
    EXPECT_EQ(transferPathArgument("\"C:\\a\\\\\" x"), "C:\\a\\");
}

TEST_F(TransferTools, OnlyAdministratorsMayImportOrExport) {
    machine.files.putFile("C:\\t.vesk", kValidFile);
    const std::string original = machine.files.contents(kSettings);
    struct Case {
        const char* user;
        int nameFailures, groupFailures;
        const char* text;
    };
    const Case cases[] = {
        {"bob", 0, 0, "Tidemarkの設定ファイルを\r\nTidemarkにインポートするには\r\n管理者権限が必要です"},
        {"alice", 1000, 0, "現在のログオンユーザー名の取得に失敗しました\r\n設定保存プログラムを実行することが出来ません"},
        {"alice", 0, 1000, "現在のログオンユーザーグループの取得に失敗しました\r\n設定保存プログラムを実行することが出来ません"},
    };
    for (const Case& c : cases) {
        for (const bool stowel : {false, true}) {
            machine.messages.clear();
            sim::SimProcess process(machine, c.user, stowel ? "Stowel.exe" : "Inkett.exe", "C:\\t.vesk");
            process.userNameFailures = c.nameFailures;
            process.groupQueryFailures = c.groupFailures;
            if (stowel) EXPECT_FALSE(stowelMayStart(process.platform()));
            else EXPECT_EQ(runInkett(process.platform(), 0), InkettOutcome::NotAllowed);
            ASSERT_EQ(titles(), std::vector<std::string>{"管理者権限が必要です"}) << c.user;
            EXPECT_EQ(machine.messages[0].request.text, c.text);
        }
    }
    EXPECT_EQ(machine.files.contents(kSettings), original);
}

class RecordingStowelView final : public StowelView {
public:
    platform::NativeWindow handle() const override { return 77; }
    void setCaption(const std::string& text) override { caption = text; }
    void setText(StowelControl control, const std::string& text) override { texts[static_cast<int>(control)] = text; }
    void close() override { closed = true; }
    std::string caption, texts[3];
    bool closed = false;
};

class ScriptedDialogs final : public FileDialogs {
public:
    std::optional<std::string> chooseSavePath(const FileDialogRequest& r) override { return record(r, true); }
    std::optional<std::string> chooseOpenPath(const FileDialogRequest& r) override { return record(r, false); }
    std::optional<std::string> answer;
    std::vector<std::pair<bool, FileDialogRequest>> asked;

private:
    std::optional<std::string> record(const FileDialogRequest& r, bool save) {
        asked.push_back({save, r});
        return answer;
    }
};

TEST_F(TransferTools, StowelStaysOpenUntilAnExportOrImportSucceeds) {
    RecordingStowelView view;
    ScriptedDialogs dialogs;
    sim::SimProcess stowel(machine, "alice", "Stowel.exe");
    StowelPresenter presenter(stowel.platform(), view, dialogs);
    presenter.load();
    EXPECT_EQ(view.caption, "Tidemark設定 保存・読込み");
    EXPECT_EQ(view.texts[0], "現在のTidemarkの設定を\r\nファイルへ保存します。\r\nまたは、保存ファイルから読込んで\r\n設定ファイルに書込みます");
    EXPECT_EQ(view.texts[1], "設定保存 (&S)");
    EXPECT_EQ(view.texts[2], "設定読込 (&L)");

    // Cancelled dialogs: nothing happens.
    presenter.onSaveClicked();
    presenter.onLoadClicked();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_TRUE(dialogs.asked[0].first);
    EXPECT_FALSE(dialogs.asked[1].first);
    const FileDialogRequest& r = dialogs.asked[0].second;
    EXPECT_EQ(r.owner, 77);
    EXPECT_EQ(r.filter, std::string("設定ファイル (*.vesk)\0*.vesk\0", sizeof "設定ファイル (*.vesk)\0*.vesk\0" - 1));
    EXPECT_EQ(r.defaultExtension, "vesk");
    EXPECT_EQ(r.initialFolder, "C:\\Users\\alice\\Documents");
    EXPECT_TRUE(machine.messages.empty());
    EXPECT_FALSE(view.closed);

    // A corrupt file and a No to the memory warning keep the window.
    machine.files.putFile("C:\\bad.vesk", "[AppSettingFlag]\r\n");
    machine.files.putFile("C:\\other.vesk", "[AppSettingFlag]\r\nPhysMemSize=1\r\n");
    dialogs.answer = "C:\\bad.vesk";
    presenter.onLoadClicked();
    machine.scriptedAnswers.push_back(platform::MessageAnswer::No);
    dialogs.answer = "C:\\other.vesk";
    presenter.onLoadClicked();
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(machine.messages.back().request.owner, 77);

    machine.files.makeDirectories("C:\\Users\\alice\\Documents");
    dialogs.answer = "C:\\Users\\alice\\Documents\\out.vesk";
    presenter.onSaveClicked();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(machine.messages.back().request.text, "設定のエクスポートが終了しました");
}

} // namespace
} // namespace tidemark::transfer
