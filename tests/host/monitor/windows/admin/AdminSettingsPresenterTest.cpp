// The administrator settings window: what it shows from the stored values,
// the writes of its controls, the removal of system start through Jobsmith's
// exit code, and the notes it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "monitor/windows/admin/AdminSettingsPresenter.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/RecordingViews.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using C = AdminControl;
using platform::MessageAnswer;

class RecordingAdminView final : public AdminSettingsView {
public:
    std::map<C, bool> checked, enabled;
    std::map<C, std::string> texts;
    bool created = false, visible = false;
    int page = 0, fronts = 0;
    unsigned timer = 0;

    void create() override { created = true; }
    void destroy() override { created = visible = false; }
    void show() override { visible = true; }
    void bringToFront() override { ++fronts; }
    platform::NativeWindow handle() const override { return 0x800; }
    void setChecked(C c, bool v) override { checked[c] = v; }
    void enable(C c, bool v) override { enabled[c] = v; }
    void setText(C c, const std::string& t) override { texts[c] = t; }
    void selectPage(int p) override { page = p; }
    void startTimer(unsigned ms) override { timer = ms; }
    void stopTimer() override { timer = 0; }
};

class FakeRestart final : public platform::SystemRestart {
public:
    std::optional<std::uint32_t> answer;
    int calls = 0;
    std::optional<std::uint32_t> restart() override {
        ++calls;
        return answer;
    }
};

constexpr const char* kRecommendationTitle = "システムスタート時に実行することを推奨します";
constexpr const char* kNoteTitle = "Windows 2000 実行環境でのプロセス監視設定の注意点";

class AdminSettings : public testing::SimFixture {
protected:
    AdminSettings() {
        copy.state.settings.sharedPath = sharedSettingsPath(copy.process->platform().process);
        copy.state.xpOrLater = true;
    }
    void store(const char* key, const char* value) {
        SettingsFiles(copy.process->platform(), copy.state)
            .write("AppSettingFlag", key, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::string stored(const char* key) {
        return SettingsFiles(copy.process->platform(), copy.state).read("AppSettingFlag", key);
    }
    int shown(const std::string& title) {
        int count = 0;
        for (const auto& m : machine.messages) count += m.request.title == title;
        return count;
    }
    // Opens with system start in force and the user past the first focus.
    void openWithSystemStart() {
        store("MemCleanRightUser", "SystemStartAdministrators");
        presenter.open();
        presenter.onFocus(C::systemStartBox);
    }
    // The user clears the box.
    void clearBox() {
        view.checked[C::systemStartBox] = false;
        presenter.onSystemStartClicked(false);
    }
    // Clears the box, answers Yes, and lets Jobsmith run to its end.
    void removeSystemStart(std::uint64_t runMs = 0) {
        machine.scriptedAnswers = {MessageAnswer::Yes, MessageAnswer::No};
        clearBox();
        for (std::uint64_t t = 0; t <= runMs && presenter.removingSystemStart(); t += AdminSettingsPresenter::kPollMs) {
            presenter.onTimer();
            machine.clock.advance(AdminSettingsPresenter::kPollMs);
        }
        presenter.onTimer();
    }

    testing::MonitorCopy copy{machine, "alice"};
    RecordingAdminView view;
    FakeRestart restart;
    int registrations = 0;
    AdminSettingsPresenter presenter{copy.context, view, restart, AdminChildren{[this] {
                                                                      ++registrations;
                                                                      return true;
                                                                  },
                                                                  {},
                                                                  {}}};
};

TEST_F(AdminSettings, CreatedFromEveryStoredCombination) {
    const char* holders[] = {"SystemStartAdministrators", testing::kAliceSid};
    const char* watches[] = {"True", "False", nullptr};
    const char* forms[] = {"First", "Slow", nullptr, "Fast"};
    for (const char* holder : holders)
        for (const char* watch : watches)
            for (const char* form : forms) {
                store("MemCleanRightUser", holder);
                store("ProcWatchSetting", watch);
                store("MemCleanForm", form);
                machine.messages.clear();
                presenter.open();
                const bool systemStart = holder == holders[0];
                const bool watching = watch && std::string(watch) == "True";
                const bool slow = form && std::string(form) != "First";
                SCOPED_TRACE(std::string(holder) + " " + (watch ? watch : "-") + " " + (form ? form : "-"));
                EXPECT_TRUE(view.visible);
                EXPECT_TRUE(copy.state.windows.adminOpen);
                EXPECT_EQ(view.checked[C::systemStartBox], systemStart);
                EXPECT_EQ(view.checked[C::watchBox], watching);
                EXPECT_EQ(view.enabled[C::watchSettingsButton], watching);
                EXPECT_EQ(view.checked[C::slowOption], slow);
                EXPECT_EQ(view.checked[C::fastOption], !slow);
                EXPECT_EQ(view.enabled[C::slowSettingsButton], slow);
                EXPECT_EQ(stored("MemCleanForm"), form ? (slow ? "Slow" : "First") : "");
                EXPECT_EQ(stored("ProcWatchSetting"), watch ? watch : "");
                EXPECT_EQ(shown(kRecommendationTitle), watching && !systemStart ? 1 : 0);
                EXPECT_EQ(machine.messages.size(), watching && !systemStart ? 1u : 0u);
                presenter.onClose();
                EXPECT_FALSE(copy.state.windows.adminOpen);
            }
    EXPECT_EQ(registrations, 0);
    EXPECT_TRUE(machine.launches.empty());
}

// Opened while another program holds the file, it would show system start
// and the watch off and the form as First, and write them back on a click.
TEST_F(AdminSettings, OpenedWhileTheFileCannotBeReadSaysSoAndOpensNothing) {
    store("MemCleanRightUser", "SystemStartAdministrators");
    store("ProcWatchSetting", "True");
    store("MemCleanForm", "Fast");   // a word the window would store as Slow, had it read it
    const std::string before = machine.files.contents(copy.state.settings.sharedPath);
    machine.files.denyReads(copy.state.settings.sharedPath);
    presenter.open();
    machine.files.allowReads(copy.state.settings.sharedPath);
    EXPECT_FALSE(view.created);
    EXPECT_FALSE(copy.state.windows.adminOpen);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "設定ファイルを読み込めませんでした。\r\nしばらくしてからもう一度開いてください");
    EXPECT_EQ(machine.files.contents(copy.state.settings.sharedPath), before);
    presenter.open();   // readable again: it opens as stored
    EXPECT_TRUE(view.visible);
    EXPECT_TRUE(view.checked[C::systemStartBox]);
}

TEST_F(AdminSettings, ASecondRequestBringsTheOpenWindowToTheFront) {
    presenter.open();
    presenter.open();
    EXPECT_EQ(view.fronts, 1);
    EXPECT_EQ(view.texts[C::systemStartNote].rfind("　Tidemarkをシステムスタート時に実行するか決定します。\r\r　チェックすると", 0), 0u);
}

TEST_F(AdminSettings, RemovalWaitsForJobsmithAndGivesUpOnlyTheSystemStartRight) {
    machine.programRunMs["JOBSMITH"] = 1500;
    openWithSystemStart();
    machine.scriptedAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    clearBox();
    ASSERT_EQ(machine.launches.size(), 1u);
    EXPECT_EQ(machine.launches[0].file, "\"C:\\Program Files\\Tidemark\\Jobsmith.exe\"");
    EXPECT_EQ(machine.launches[0].parameters, "\"Quillon Kestrel SYSTEM Start Task.job\" /DELETE");
    EXPECT_EQ(machine.messages[0].request.title, "設定変更の確認");
    // Still running: nothing changed yet, the box waits disabled.
    EXPECT_TRUE(presenter.removingSystemStart());
    EXPECT_FALSE(view.enabled[C::systemStartBox]);
    EXPECT_EQ(view.timer, AdminSettingsPresenter::kPollMs);
    machine.clock.advance(1000);
    presenter.onTimer();
    presenter.onClose();   // refused while Jobsmith runs
    EXPECT_TRUE(copy.state.windows.adminOpen);
    EXPECT_EQ(stored("MemCleanRightUser"), "SystemStartAdministrators");
    machine.clock.advance(500);
    presenter.onTimer();
    EXPECT_FALSE(presenter.removingSystemStart());
    EXPECT_TRUE(view.enabled[C::systemStartBox]);
    EXPECT_EQ(stored("MemCleanRightUser"), "NoUser");
    ASSERT_EQ(machine.messages.size(), 2u);
    EXPECT_EQ(machine.messages[1].request.text, "設定を有効にするには再起動が必要です。\r今すぐ再起動しますか？");
    EXPECT_EQ(restart.calls, 0);   // answered No
}

TEST_F(AdminSettings, RemovalOutcomesByJobsmithsExitCode) {
    struct Case {
        std::optional<std::uint32_t> exitCode;   // nullopt: Jobsmith cannot be started
        bool removed;
        const char* code;
    } cases[] = {
        {0u, true, nullptr},
        {0x80070002u, true, nullptr},
        {0x80070057u, false, "0x80070057"},
        {0x80041315u, false, "0x80041315"},
        {1u, false, "0x00000001"},
        {std::nullopt, false, "0x00000002"},
    };
    for (const Case& c : cases) {
        machine.missingPrograms.clear();
        if (c.exitCode) machine.programExitCodes["JOBSMITH"] = *c.exitCode;
        else machine.missingPrograms.insert("JOBSMITH");
        machine.messages.clear();
        openWithSystemStart();
        removeSystemStart();
        EXPECT_EQ(view.checked[C::systemStartBox], !c.removed);
        EXPECT_EQ(stored("MemCleanRightUser"), c.removed ? "NoUser" : "SystemStartAdministrators");
        const auto& last = machine.messages.back().request;
        if (c.removed) {
            EXPECT_EQ(last.title, "再起動が必要");
        } else {
            EXPECT_EQ(last.title, "設定変更の確認");
            EXPECT_EQ(last.icon, platform::MessageIcon::Error);
            EXPECT_NE(last.text.find("タスクを削除できませんでした"), std::string::npos);
            EXPECT_NE(last.text.find(c.code), std::string::npos) << last.text;
        }
        presenter.onClose();
    }
    EXPECT_EQ(restart.calls, 0);
}

TEST_F(AdminSettings, ALoggedOnHolderKeepsTheRight) {
    machine.programRunMs["JOBSMITH"] = 500;
    openWithSystemStart();
    machine.scriptedAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    clearBox();
    store("MemCleanRightUser", testing::kBobSid);   // bob took the right meanwhile
    machine.clock.advance(500);
    presenter.onTimer();
    EXPECT_EQ(stored("MemCleanRightUser"), testing::kBobSid);
    EXPECT_FALSE(view.checked[C::systemStartBox]);
    EXPECT_EQ(shown("再起動が必要"), 1);
}

TEST_F(AdminSettings, AnsweringNoKeepsSystemStart) {
    openWithSystemStart();
    machine.scriptedAnswers = {MessageAnswer::No};
    clearBox();
    EXPECT_TRUE(view.checked[C::systemStartBox]);
    EXPECT_TRUE(machine.launches.empty());
    EXPECT_EQ(stored("MemCleanRightUser"), "SystemStartAdministrators");
}

TEST_F(AdminSettings, RestartIsAskedAndItsFailureReported) {
    struct Case {
        std::optional<std::uint32_t> error;
        const char* message;
    } cases[] = {
        {std::nullopt, nullptr},
        {1314u, "シャットダウン権限がありません"},
        {5u, "( 5 )\rWindows 終了処理に失敗しました\r他の方法で Windows を再起動させて下さい"},
    };
    for (const Case& c : cases) {
        restart.answer = c.error;
        machine.messages.clear();
        openWithSystemStart();
        machine.scriptedAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
        clearBox();
        presenter.onTimer();
        if (c.message) {
            EXPECT_EQ(machine.messages.back().request.text, c.message);
            EXPECT_EQ(machine.messages.back().request.icon, platform::MessageIcon::Error);
            EXPECT_EQ(machine.messages.back().request.title, "Tidemark");
        } else {
            EXPECT_EQ(machine.messages.back().request.title, "再起動が必要");
        }
        presenter.onClose();
    }
    EXPECT_EQ(restart.calls, 3);   // once each: never again with force
}

TEST_F(AdminSettings, TickingSystemStartOpensTheRegistration) {
    presenter.open();
    presenter.onSystemStartClicked(true);   // raised before any focus: ignored
    EXPECT_EQ(registrations, 0);
    presenter.onFocus(C::systemStartBox);
    EXPECT_EQ(view.page, 0);
    bool busyDuring = false, passwordOpen = false;
    AdminSettingsPresenter withDialog{copy.context, view, restart, AdminChildren{[&] {
                                                                       busyDuring = copy.state.windows.adminBusy;
                                                                       passwordOpen = !copy.state.windows.passwordClosed;
                                                                       return false;   // cancelled
                                                                   },
                                                                   {},
                                                                   {}}};
    presenter.onClose();
    withDialog.open();
    withDialog.onFocus(C::systemStartBox);
    view.checked[C::systemStartBox] = true;
    withDialog.onSystemStartClicked(true);
    EXPECT_TRUE(busyDuring);
    EXPECT_TRUE(passwordOpen);
    EXPECT_FALSE(copy.state.windows.adminBusy);
    EXPECT_TRUE(copy.state.windows.passwordClosed);
    EXPECT_FALSE(view.checked[C::systemStartBox]);
    EXPECT_TRUE(machine.launches.empty());
}

TEST_F(AdminSettings, RecommendationAndNoteByVersionAndFlags) {
    struct Case {
        bool xp, systemStart, focused;
        int recommendations, notes;
    } cases[] = {
        {true, false, true, 1, 0}, {true, true, true, 0, 0},  {false, false, true, 0, 1},
        {false, true, true, 0, 1}, {false, false, false, 0, 0}, {true, false, false, 1, 0},
    };
    for (const Case& c : cases) {
        copy.state.xpOrLater = c.xp;
        store("MemCleanRightUser", c.systemStart ? "SystemStartAdministrators" : "NoUser");
        store("ProcWatchSetting", "False");
        presenter.open();
        if (c.focused) presenter.onFocus(C::watchBox);
        machine.messages.clear();
        presenter.onWatchClicked(true);
        EXPECT_EQ(stored("ProcWatchSetting"), "True");
        EXPECT_TRUE(view.enabled[C::watchSettingsButton]);
        EXPECT_EQ(shown(kRecommendationTitle), c.recommendations);
        EXPECT_EQ(shown(kNoteTitle), c.notes);
        presenter.onWatchClicked(false);
        EXPECT_EQ(stored("ProcWatchSetting"), "False");
        EXPECT_FALSE(view.enabled[C::watchSettingsButton]);
        presenter.onClose();
    }
    // Opened with the watch on under Windows 2000: no note.
    machine.messages.clear();
    copy.state.xpOrLater = false;
    store("ProcWatchSetting", "True");
    presenter.open();
    EXPECT_TRUE(machine.messages.empty());
}

TEST_F(AdminSettings, TheFormIsWrittenAtEachSelection) {
    presenter.open();
    presenter.onSlowSelected();
    EXPECT_EQ(stored("MemCleanForm"), "Slow");
    EXPECT_TRUE(view.enabled[C::slowSettingsButton]);
    presenter.onFastSelected();
    EXPECT_EQ(stored("MemCleanForm"), "First");
    EXPECT_FALSE(view.enabled[C::slowSettingsButton]);
    presenter.onFocus(C::slowSettingsButton);
    EXPECT_EQ(view.page, 1);
}

TEST_F(AdminSettings, AFailedWritePutsTheControlBack) {
    store("ProcWatchSetting", "False");
    presenter.open();
    machine.files.denyWrites(copy.state.settings.sharedPath);
    presenter.onWatchClicked(true);
    EXPECT_FALSE(view.checked[C::watchBox]);
    EXPECT_FALSE(view.enabled[C::watchSettingsButton]);
    presenter.onSlowSelected();
    EXPECT_TRUE(view.checked[C::fastOption]);
    EXPECT_FALSE(view.checked[C::slowOption]);
    EXPECT_FALSE(view.enabled[C::slowSettingsButton]);
    ASSERT_EQ(shown("設定保存の失敗"), 2);
    EXPECT_EQ(machine.messages.back().request.text, "設定の保存に失敗しました");
    EXPECT_FALSE(copy.state.settings.sharedWritable);
}

TEST_F(AdminSettings, RemovalWriteFailureLeavesSystemStart) {
    openWithSystemStart();
    machine.files.denyWrites(copy.state.settings.sharedPath);
    removeSystemStart();
    EXPECT_TRUE(view.checked[C::systemStartBox]);
    EXPECT_EQ(machine.messages.back().request.text, "設定の保存に失敗しました");
    EXPECT_EQ(shown("再起動が必要"), 0);
}

TEST_F(AdminSettings, ChildWindowsOpenWhileTheTrayIsBusy) {
    bool busy[2] = {false, false};
    AdminSettingsPresenter withChildren{copy.context, view, restart,
                                        AdminChildren{{}, [&] { busy[0] = copy.state.windows.adminBusy; },
                                                      [&] { busy[1] = copy.state.windows.adminBusy; }}};
    withChildren.open();
    withChildren.onWatchSettingsClicked();
    withChildren.onSlowSettingsClicked();
    EXPECT_TRUE(busy[0]);
    EXPECT_TRUE(busy[1]);
    EXPECT_FALSE(copy.state.windows.adminBusy);
}

TEST_F(AdminSettings, TheTrayMenuOpensItAndBeepsWhileAChildIsOpen) {
    testing::RecordedWindows tray(copy.process->platform(), copy.state);
    tray.windows.openAdminSettings = [&] { presenter.open(); };
    tray.windows.tray().menuCommand(TrayCommand::AdmFix);
    EXPECT_TRUE(view.visible);
    tray.windows.tray().menuCommand(TrayCommand::AdmFix);
    EXPECT_EQ(view.fronts, 1);
    AdminSettingsPresenter withChild{copy.context, view, restart, AdminChildren{{}, {}, [&] {
                                                                    tray.windows.tray().onTrayCallback(TrayMouse::LeftButtonUp);
                                                                }}};
    withChild.onSlowSettingsClicked();
    EXPECT_EQ(std::count(tray.log.begin(), tray.log.end(), "beep"), 1);
}

} // namespace
} // namespace tidemark::monitor
