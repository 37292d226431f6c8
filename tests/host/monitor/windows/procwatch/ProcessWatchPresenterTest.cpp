// The process watch window: adding by every way, deleting, saving, the
// closing question, Stowel's round trip and the drive errors.
#include <gtest/gtest.h>

#include <map>

#include "monitor/windows/procwatch/ProcessWatchPresenter.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using C = WatchControl;
using platform::MessageAnswer;
constexpr MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No, Cancel = MessageAnswer::Cancel;

class RecordingWatchView final : public ProcessWatchView {
public:
    ProcessWatchPresenter* presenter = nullptr;
    std::map<C, std::string> tooltips, icons;
    std::map<C, bool> enabled;
    std::map<WatchMenuItem, bool> items;
    std::vector<std::string> names, drivesShown;
    std::map<std::string, int> driveErrors;
    std::string currentDrive = "c:", folder, pattern;
    std::optional<std::string> file;
    std::optional<std::size_t> watch;
    bool windowEnabled = true;
    unsigned timer = 0;
    int closes = 0, popUps = 0, fills = 0;

    void runModal() override { presenter->load(); }
    void close() override { ++closes; }
    platform::NativeWindow handle() const override { return 0x910; }
    void setTooltip(C c, const std::string& t) override { tooltips[c] = t; }
    void enable(C c, bool e) override { enabled[c] = e; }
    void enableMenuItem(WatchMenuItem i, bool e) override { items[i] = e; }
    void enableWindow(bool e) override { windowEnabled = e; }
    void popUp(WatchPopup) override { ++popUps; }
    std::string drive() override { return currentDrive; }
    int showDrive(const std::string& d) override {
        drivesShown.push_back(d);
        const int error = driveErrors.count(d) ? driveErrors[d] : 0;
        if (!error) currentDrive = d;
        return error;
    }
    void showFolder(const std::string& path) override { folder = path; }
    void setFilePattern(const std::string& p) override { pattern = p; }
    std::string fileFolder() override { return folder; }
    std::optional<std::string> selectedFile() override { return file; }
    void clearFileSelection() override { file.reset(); }
    void setWatchNames(const std::vector<std::string>& n) override {
        names = n;
        ++fills;
    }
    void addWatchName(const std::string& n) override { names.push_back(n); }
    void removeWatchName(std::size_t i) override { names.erase(names.begin() + static_cast<std::ptrdiff_t>(i)); }
    std::optional<std::size_t> selectedWatch() override { return watch; }
    void clearWatchSelection() override { watch.reset(); }
    void showIcon(C c, const std::string& path, const std::string& tip) override {
        icons[c] = path;
        tooltips[c] = tip;
    }
    void startTimer(unsigned ms) override { timer = ms; }
    void stopTimer() override { timer = 0; }
};

class ProcessWatchWindow : public testing::SimFixture {
protected:
    ProcessWatchWindow() {
        copy.state.settings.sharedPath = sharedSettingsPath(copy.process->platform().process);
        files().write("ExitTrigProcList", "notepad.exe", std::string("C:\\Windows\\notepad.exe"));
        files().write("ExitTrigProcList", "nopath.exe", std::string(""));
        view.presenter = &presenter;
        presenter.showModal();
        machine.messages.clear();
    }
    SettingsFiles files() { return SettingsFiles(copy.process->platform(), copy.state); }
    std::vector<std::string> titles() {
        std::vector<std::string> out;
        for (const auto& m : machine.messages) out.push_back(m.request.title + "|" + m.request.text);
        return out;
    }
    void answer(std::initializer_list<MessageAnswer> a) { machine.scriptedAnswers = a; }
    bool applyEnabled() { return view.enabled[C::applyButton] && view.items[WatchMenuItem::apply]; }

    testing::MonitorCopy copy{machine, "alice"};
    RecordingWatchView view;
    ProcessWatchPresenter presenter{copy.context, view};
};

TEST_F(ProcessWatchWindow, LoadingShowsTheWholeListOnProgramFiles) {
    EXPECT_EQ(view.names, (std::vector<std::string>{"notepad.exe", "nopath.exe"}));
    EXPECT_EQ(view.pattern, "*.exe;*.lnk;*.link");
    EXPECT_EQ(view.folder, copy.process->platform().folders.folderPath(38).value());
    EXPECT_FALSE(view.enabled[C::deleteButton]);
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(view.tooltips[C::watchList], "実行形式のファイルかショートカットを、ここにドロップしてください");
    view.watch = 1;
    presenter.onWatchClicked();
    EXPECT_TRUE(view.enabled[C::deleteButton]);
    EXPECT_EQ(view.tooltips[C::watchIcon], "このプロセスは未登録です");
    view.watch = 0;
    presenter.onWatchKeyReleased();
    EXPECT_EQ(view.icons[C::watchIcon], "C:\\Windows\\notepad.exe");
    EXPECT_EQ(view.tooltips[C::watchIcon], "このプロセスは登録済みです");
}

// Opened while another program holds the file: an empty list shown for one
// it could not read would be saved over it.
TEST_F(ProcessWatchWindow, OpenedWhileTheFileCannotBeReadSaysSoAndCloses) {
    const std::string before = machine.files.contents(copy.state.settings.sharedPath);
    view.names.clear();
    const int closes = view.closes;
    machine.files.denyReads(copy.state.settings.sharedPath);
    presenter.showModal();
    machine.files.allowReads(copy.state.settings.sharedPath);
    EXPECT_EQ(view.closes, closes + 1);
    EXPECT_TRUE(view.names.empty());
    EXPECT_EQ(titles(), std::vector<std::string>{"設定の読込み|設定ファイルを読み込めませんでした。\r\nしばらくしてからもう一度開いてください"});
    EXPECT_EQ(machine.files.contents(copy.state.settings.sharedPath), before);
}

TEST_F(ProcessWatchWindow, AddingByDoubleClickMenuAndDrop) {
    view.folder = "C:\\Apps";
    struct Case {
        const char* file;
        bool menu;                            // the context menu, else a double-click
        std::vector<MessageAnswer> answers;
        bool addEnabled;
        std::size_t messages, count;
    } cases[] = {
        {"game.exe", false, {Yes}, true, 1, 3}, {"tool.EXE", true, {No}, true, 1, 3},
        {"tool.EXE", true, {Yes}, true, 1, 4},  {"readme.txt", false, {}, false, 0, 4},
        {"x.link", true, {}, true, 1, 4},       {"GAME.exe", false, {}, true, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        machine.messages.clear();
        answer({});
        machine.scriptedAnswers.assign(c.answers.begin(), c.answers.end());
        view.file = c.file;
        presenter.onFileRightClicked();
        EXPECT_EQ(view.items[WatchMenuItem::add], c.addEnabled);
        c.menu ? presenter.onAddChosen() : presenter.onFileDoubleClicked();
        EXPECT_EQ(machine.messages.size(), c.messages);
        EXPECT_EQ(view.names.size(), c.count);
        EXPECT_EQ(presenter.entries().size(), c.count);
        EXPECT_FALSE(view.file);
    }
    EXPECT_EQ(presenter.entries()[2], (WatchEntry{"game.exe", "C:\\Apps\\game.exe"}));
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(view.tooltips[C::applyButton], "変更された設定を保存します");

    machine.messages.clear();
    presenter.onFilesDropped({"D:\\a.exe", "C:\\Windows\\EXPLORER.EXE", "D:\\b.exe", "D:\\A.exe", "D:\\c.txt"});
    EXPECT_EQ(view.names, (std::vector<std::string>{"notepad.exe", "nopath.exe", "game.exe", "tool.EXE", "a.exe", "b.exe"}));
    EXPECT_EQ(machine.messages.size(), 3u);   // protected, duplicate, not a program: no question
}

TEST_F(ProcessWatchWindow, DeletingSavingAndClosing) {
    view.watch = 0;
    presenter.onDeleteClicked();
    view.watch = 0;
    presenter.onDeleteChosen();
    EXPECT_TRUE(view.names.empty());
    EXPECT_FALSE(view.enabled[C::deleteButton]);
    EXPECT_TRUE(applyEnabled());

    struct Close {
        bool changed;
        std::vector<MessageAnswer> answers;
        std::size_t questions;
        int closes;
    } closes[] = {{true, {No}, 1, 0}, {true, {Yes}, 1, 1}, {false, {}, 0, 1}};
    for (const Close& c : closes) {
        if (!c.changed) presenter.onApplyClicked();
        machine.messages.clear();
        view.closes = 0;
        machine.scriptedAnswers.assign(c.answers.begin(), c.answers.end());
        presenter.onCloseRequested();
        EXPECT_EQ(machine.messages.size(), c.questions);
        EXPECT_EQ(view.closes, c.closes);
    }
    EXPECT_EQ(files().read("AppSettingFlag", "STMCProcReplaceFlag"), "NonProc");

    view.file = "x.exe";
    presenter.onFileDoubleClicked();
    machine.files.denyWrites(copy.state.settings.sharedPath);
    machine.messages.clear();
    presenter.onApplyClicked();
    EXPECT_EQ(titles(), std::vector<std::string>{"プロセス登録処理|設定の保存に失敗しました"});
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
    EXPECT_TRUE(presenter.changed());
    EXPECT_TRUE(applyEnabled());
}

TEST_F(ProcessWatchWindow, StowelRoundTrip) {
    machine.programRunMs["STOWEL"] = 5000;
    struct Case {
        bool unsaved;
        std::vector<MessageAnswer> answers;
        bool started;
        const char* storedAfterStart;   // the list's keys in the file when Stowel starts
    } cases[] = {
        {false, {}, true, "notepad.exe,nopath.exe,"},
        {true, {Cancel}, false, "notepad.exe,nopath.exe,"},
        {true, {No}, true, "notepad.exe,nopath.exe,"},
        {true, {Yes}, true, "notepad.exe,nopath.exe,new.exe,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.size());
        files().write("ExitTrigProcList", std::nullopt, std::nullopt);
        files().write("ExitTrigProcList", "notepad.exe", std::string("C:\\Windows\\notepad.exe"));
        files().write("ExitTrigProcList", "nopath.exe", std::string(""));
        presenter.load();
        if (c.unsaved) presenter.onFilesDropped({"C:\\new.exe"});
        machine.scriptedAnswers.assign(c.answers.begin(), c.answers.end());
        const std::size_t launches = machine.launches.size();
        presenter.onTransferChosen();
        std::string keys;
        for (const auto& k : files().keyNames("ExitTrigProcList")) keys += k + ",";
        EXPECT_EQ(keys, c.storedAfterStart);
        ASSERT_EQ(machine.launches.size(), launches + (c.started ? 1 : 0));
        if (!c.started) {
            EXPECT_TRUE(view.windowEnabled);
            continue;
        }
        EXPECT_EQ(machine.launches.back().file, "\"C:\\Program Files\\Tidemark\\Stowel.exe\"");
        EXPECT_FALSE(view.windowEnabled);
        EXPECT_EQ(view.timer, ProcessWatchPresenter::kStowelPollMs);
        files().write("ExitTrigProcList", "imported.exe", std::string("D:\\imported.exe"));
        presenter.onTimer();
        EXPECT_FALSE(view.windowEnabled);
        machine.clock.advance(5000);
        presenter.onTimer();
        EXPECT_TRUE(view.windowEnabled);
        EXPECT_EQ(view.timer, 0u);
        EXPECT_EQ(view.names.back(), "imported.exe");
        EXPECT_FALSE(presenter.changed());
    }

    machine.missingPrograms.insert("STOWEL");
    const auto before = view.names;
    machine.messages.clear();
    presenter.onTransferChosen();
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(view.names, before);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
}

TEST_F(ProcessWatchWindow, DriveErrorsReturnToTheLastGoodDrive) {
    const std::string removable = "リムーバブルデバイスをセットしてください";
    struct Case {
        const char* drive;
        int error;
        const char* text;
    } cases[] = {{"a:", 71, removable.c_str()}, {"e:", 68, removable.c_str()}, {"f:", 5, "エラーナンバー 5 エラーです"}};
    view.driveErrors = {{"a:", 71}, {"e:", 68}, {"f:", 5}};
    presenter.onDriveChosen("d:");
    for (const Case& c : cases) {
        machine.messages.clear();
        presenter.onDriveChosen(c.drive);
        ASSERT_EQ(machine.messages.size(), 1u);
        EXPECT_EQ(machine.messages[0].request.title, "プロセス監視設定");
        EXPECT_EQ(machine.messages[0].request.text.rfind(c.text, 0), 0u);
        EXPECT_EQ(view.drivesShown.back(), "d:");
        EXPECT_EQ(view.currentDrive, "d:");
    }
}

} // namespace
} // namespace tidemark::monitor
