// The system-start registration over the simulated machine with a scripted
// Jobsmith: every stage and its way out, Jobsmith's exit codes at each run,
// the password on standard input only, "PassTest" and its 75 ticks, the
// entry keys, and the restart never forced.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "monitor/windows/PasswordPresenter.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/system/CommandLine.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
using Stage = PasswordStage;
namespace task = systemstart;

constexpr const char* kTestFailed = "パスワード試験実行に失敗しました";
constexpr const char* kSystemFailed = "システムスタートタスク設定に失敗しました";
constexpr const char* kWrong = "パスワードが間違っています。\rパスワードを入力しなおしてください";
constexpr const char* kRestartQuestion = "設定を有効にするには再起動が必要です。\r今すぐ再起動しますか？";
constexpr const char* kMismatch = "もう一度パスワードを入れなおしてください";
constexpr const char* kFolder = "C:\\Program Files\\Tidemark";
constexpr std::uint32_t kNotStarted = 0xFFFFFFFF;   // the start itself fails

class FakeRestart final : public platform::SystemRestart {
public:
    std::optional<std::uint32_t> answer;
    int calls = 0;
    std::optional<std::uint32_t> restart() override {
        ++calls;
        return answer;
    }
};

// The whole registration on one machine: the dialog's modal run is the
// user's script, the wait window's is its timer until it closes.
struct Machine {
    Machine() {
        machine.addUser("alice", testing::kAliceSid, {"Administrators", "Users"});
        machine.logOn("alice");
    }
    sim::SimMachine machine;
};

struct Registration : Machine {
    struct Dialog final : PasswordView {
        Registration& r;
        explicit Dialog(Registration& owner) : r(owner) {}
        std::string boxes[2];
        bool open = false, enabled = true, readable = false, showChecked = true;
        unsigned limit = 0, timer = 0;
        std::optional<PasswordBox> focused;
        int fronts = 0, wipes = 0;
        void runModal() override {
            open = true;
            r.presenter.load();
            r.script();
            open = false;
        }
        void close() override { open = false; }
        void bringToFront() override { ++fronts; }
        platform::NativeWindow handle() const override { return 0x900; }
        void setAccount(const std::string& name) override { account = name; }
        void setLimit(unsigned characters) override { limit = characters; }
        std::string password(PasswordBox box) override { return boxes[static_cast<int>(box)]; }
        void wipePasswords() override {
            boxes[0].clear();
            boxes[1].clear();
            ++wipes;
        }
        void showPasswords(bool v) override { readable = v; }
        void setShowChecked(bool v) override { showChecked = v; }
        void focus(PasswordBox box) override {
            focused = box;
            r.presenter.onFocused(box);
        }
        void enable(bool v) override { enabled = v; }
        void startTimer(unsigned ms) override { timer = ms; }
        void stopTimer() override { timer = 0; }
        std::string account;
    };
    struct Wait final : PasswordWaitView {
        Registration& r;
        explicit Wait(Registration& owner) : r(owner) {}
        bool open = false, enabled = true;
        int value = -1, maximum = 0, ticks = 0, fronts = 0;
        unsigned timer = 0;
        std::string text;
        void runModal(platform::NativeWindow) override {
            open = true;
            enabled = true;
            ticks = 0;
            r.presenter.loadWait();
            for (int guard = 0; open && timer && guard < 500; ++guard) {
                r.machine.clock.advance(timer);
                ++ticks;
                if (r.duringWait) r.duringWait(ticks);
                r.presenter.onWaitTimer();
            }
        }
        void close() override { open = false; }
        void bringToFront() override { ++fronts; }
        platform::NativeWindow handle() const override { return 0x901; }
        void setText(const std::string& t) override { text = t; }
        void setProgress(int v, int m) override {
            value = v;
            maximum = m;
        }
        void enable(bool v) override { enabled = v; }
        void startTimer(unsigned ms) override { timer = ms; }
        void stopTimer() override { timer = 0; }
    };

    Registration() {
        copy.state.settings.sharedPath = sharedSettingsPath(copy.process->platform().process);
        copy.state.user.logonName = "alice";
        // Jobsmith's runs as scripted: the n-th start gets codes[n].
        machine.beforeStart = [this](const std::string& file, const std::string&) {
            if (file.find("Jobsmith") == std::string::npos) return;
            const std::size_t n = jobsmithStarts++;
            const std::uint32_t code = n < codes.size() ? codes[n] : 0;
            machine.missingPrograms.erase("JOBSMITH");
            if (code == kNotStarted) machine.missingPrograms.insert("JOBSMITH");
            machine.programExitCodes["JOBSMITH"] = code;
            machine.programRunMs["JOBSMITH"] = 1500;
        };
        // The scheduler runs the test task: Corvid answers at the given tick.
        duringWait = [this](int tick) {
            if (tick == corvidTick) store("True");
        };
    }
    void store(const char* value) {
        SettingsFiles(copy.process->platform(), copy.state)
            .write("AppSettingFlag", "PassTest", value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::string passTest() {
        return SettingsFiles(copy.process->platform(), copy.state).read("AppSettingFlag", "PassTest");
    }
    // The user types both boxes and presses Enter in the second.
    void enter(const std::string& first, const std::string& second) {
        dialog.boxes[0] = first;
        dialog.boxes[1] = second;
        dialog.focus(PasswordBox::second);
        presenter.onEnter(PasswordBox::second);
    }
    // The dialog's timer until Jobsmith's runs of the dialog are over.
    void tickDialog() {
        for (int guard = 0; guard < 50 && dialog.timer; ++guard) {
            machine.clock.advance(dialog.timer);
            presenter.onTimer();
        }
    }
    bool registerWith(const std::string& password) {
        script = [this, password] {
            enter(password, password);
            tickDialog();
        };
        return presenter.showModal();
    }
    std::vector<const sim::LaunchRecord*> jobsmithRuns() const {
        std::vector<const sim::LaunchRecord*> out;
        for (const auto& l : machine.launches)
            if (l.file.find("Jobsmith") != std::string::npos) out.push_back(&l);
        return out;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : machine.messages) out.push_back(m.request.text);
        return out;
    }

    testing::MonitorCopy copy{machine, "alice"};
    Dialog dialog{*this};
    Wait wait{*this};
    FakeRestart restart;
    PasswordPresenter presenter{copy.context, dialog, wait, restart};
    std::function<void()> script = [] {};
    std::function<void(int)> duringWait;
    std::vector<std::uint32_t> codes;
    std::size_t jobsmithStarts = 0;
    int corvidTick = 3;
};

std::vector<std::string> words(const sim::LaunchRecord& run) { return splitArguments(run.parameters); }

TEST(PasswordRegistration, JobsmithAtEveryRun) {
    constexpr std::uint32_t kNone = task::kJobsmithNotFound, kDenied = 0x80070005;
    struct Case {
        std::vector<std::uint32_t> codes;   // delete test, add test, delete system, add system
        const char* message;                // the last box shown
        bool registered;
        std::size_t runs;                   // Jobsmith runs started
    } cases[] = {
        {{0, 0, 0, 0}, kRestartQuestion, true, 4},
        {{kNone, 0, kNone, 0}, kRestartQuestion, true, 4},
        {{kNotStarted}, kTestFailed, false, 0},
        {{1}, kTestFailed, false, 1},
        {{kDenied}, kTestFailed, false, 1},
        {{0, kNotStarted}, kTestFailed, false, 1},
        {{0, kDenied}, kTestFailed, false, 2},
        {{0, kNone}, kTestFailed, false, 2},
        {{0, 0, kNotStarted}, kSystemFailed, false, 2},
        {{0, 0, 5}, kSystemFailed, false, 3},
        {{0, 0, 0, kNotStarted}, kSystemFailed, false, 3},
        {{0, 0, 0, kNone}, kSystemFailed, false, 4},
        {{0, 0, 0, 1}, kSystemFailed, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.codes));
        Registration r;
        r.codes = c.codes;
        r.machine.scriptedAnswers = {MessageAnswer::No};
        const std::uint64_t start = r.machine.clock.monotonicMs();
        EXPECT_EQ(r.registerWith("pw"), c.registered);
        ASSERT_FALSE(r.machine.messages.empty());
        EXPECT_EQ(r.machine.messages.back().request.text, c.message);
        EXPECT_EQ(r.texts().size(), 1u);
        EXPECT_EQ(r.jobsmithRuns().size(), c.runs);
        EXPECT_EQ(r.presenter.stage(), Stage::closed);
        EXPECT_FALSE(r.dialog.open);
        EXPECT_TRUE(r.dialog.boxes[0].empty() && r.dialog.boxes[1].empty());
        EXPECT_EQ(r.restart.calls, 0);
        // A failed test task is reported at once, not after the watch.
        if (std::string(c.message) == kTestFailed) {
            EXPECT_EQ(r.wait.ticks, 0);
            EXPECT_LT(r.machine.clock.monotonicMs() - start, 10000u);
        }
    }
}

TEST(PasswordRegistration, PasswordOnlyOnStandardInput) {
    const std::string password = "pa ss\"w\\ord 日本";
    Registration r;
    r.machine.scriptedAnswers = {MessageAnswer::No};
    ASSERT_TRUE(r.registerWith(password));
    const auto runs = r.jobsmithRuns();
    ASSERT_EQ(runs.size(), 4u);
    for (const auto* run : runs) {
        EXPECT_TRUE(run->direct);
        EXPECT_EQ(run->file, std::string(kFolder) + "\\Jobsmith.exe");
        EXPECT_EQ(run->parameters.find("pa ss"), std::string::npos);
        EXPECT_EQ(run->showCommand, platform::showcmd::MinimizedNoActivate);
    }
    EXPECT_EQ(words(*runs[0]), (std::vector<std::string>{"Quillon Kestrel Soon Start Task.job", "/DELETE"}));
    EXPECT_EQ(words(*runs[2]), (std::vector<std::string>{"Quillon Kestrel SYSTEM Start Task.job", "/DELETE"}));
    EXPECT_EQ(runs[0]->input, "");
    EXPECT_EQ(runs[2]->input, "");
    EXPECT_EQ(words(*runs[1]), (std::vector<std::string>{"Quillon Kestrel Soon Start Task.job", "/SOON",
                                                         "Quillon Program Auto Set Task !!",
                                                         "\"" + std::string(kFolder) + "\\Corvid.exe\"", "PassTest",
                                                         "alice"}));
    EXPECT_EQ(words(*runs[3]), (std::vector<std::string>{"Quillon Kestrel SYSTEM Start Task.job", "/SYS",
                                                         "Quillon Program Auto Set Task !! App Start CASCADA",
                                                         "\"" + std::string(kFolder) + "\\Cascada.exe\"", "RUN",
                                                         "alice"}));
    for (const auto* run : {runs[1], runs[3]}) {
        EXPECT_EQ(run->input, password);
        EXPECT_EQ(run->inputCodePage, 932u);
    }
}

TEST(PasswordRegistration, TaskAccount) {
    using W = platform::WorkstationUserInfo;
    struct Case {
        std::optional<W> station;
        const char* logon;
        const char* account;
    } cases[] = {
        {W{"alice", "CORP", "", "\\\\DC01"}, "alice", "CORP\\alice"},
        {W{"Alice", "CORP", "", "DC01"}, "alice", "CORP\\alice"},
        {W{"alice", "PC1", "", "\\\\PC1"}, "alice", "alice"},
        {W{"alice", "pc1", "", "\\\\PC1"}, "alice", "alice"},
        {W{"alice", "", "", "\\\\PC1"}, "alice", "alice"},
        {W{"bob", "CORP", "", "\\\\DC01"}, "alice", "alice"},
        {W{"alice", "CORP", "", "\\\\DC01"}, "CORP\\alice", "CORP\\alice"},
        {std::nullopt, "alice", "alice"},
    };
    for (const Case& c : cases) EXPECT_EQ(task::taskAccount(c.station, c.logon), c.account) << c.logon;
}

TEST(PasswordRegistration, PassTestWatchedSeventyFiveTicks) {
    struct Case {
        std::optional<const char*> written;   // what "PassTest" holds during the watch
        int atTick;
        bool passes;
    } cases[] = {
        {"True", 1, true}, {"True", 74, true}, {"True", 75, true}, {"true", 3, false}, {"TRUE", 3, false},
        {"", 3, false},    {"False", 3, false}, {std::nullopt, 3, false}, {"Truee", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written.value_or("(missing)"));
        Registration r;
        r.machine.scriptedAnswers = {MessageAnswer::No};
        r.duringWait = [&](int tick) {
            if (tick == c.atTick) r.store(c.written ? *c.written : nullptr);
        };
        Stage after = Stage::closed;
        r.script = [&] {
            r.enter("pw", "pw");
            r.tickDialog();
            after = r.presenter.stage();
        };
        EXPECT_EQ(r.presenter.showModal(), c.passes);
        ASSERT_FALSE(r.machine.messages.empty());
        const auto& last = r.machine.messages.back().request;
        EXPECT_EQ(r.wait.maximum, 75);
        if (c.passes) {
            EXPECT_EQ(last.text, kRestartQuestion);
            EXPECT_EQ(r.wait.value, 75);
            continue;
        }
        // The 75th tick, not one earlier, gives the wrong-password box and
        // deletes the test task; the dialog is ready for another try.
        EXPECT_EQ(r.wait.ticks, 75);
        EXPECT_EQ(r.wait.value, 75);
        EXPECT_EQ(last.text, kWrong);
        EXPECT_EQ(last.title, "パスワードが違います");
        EXPECT_EQ(last.owner, 0x901u);
        const auto runs = r.jobsmithRuns();
        ASSERT_EQ(runs.size(), 3u);
        EXPECT_EQ(words(*runs[2]), (std::vector<std::string>{"Quillon Kestrel Soon Start Task.job", "/DELETE"}));
        EXPECT_EQ(after, Stage::entry);
        EXPECT_TRUE(r.dialog.enabled);
        EXPECT_EQ(r.dialog.focused, PasswordBox::first);
    }
}

TEST(PasswordRegistration, StaleTrueCannotPass) {
    // The reset fails: the test stops before a task is created.
    Registration failing;
    failing.store("True");
    failing.machine.beforeStart = [&](const std::string&, const std::string&) {
        failing.machine.files.denyWrites(failing.copy.state.settings.sharedPath);
    };
    failing.duringWait = {};
    EXPECT_FALSE(failing.registerWith("pw"));
    EXPECT_EQ(failing.texts(), std::vector<std::string>{kTestFailed});
    EXPECT_EQ(failing.jobsmithRuns().size(), 1u);
    EXPECT_EQ(failing.wait.ticks, 0);

    // The reset happens after the old test task is gone, before the new one.
    Registration r;
    r.store("True");
    r.duringWait = {};
    std::vector<std::string> seen;
    r.machine.beforeStart = [&](const std::string&, const std::string&) { seen.push_back(r.passTest()); };
    r.machine.scriptedAnswers = {MessageAnswer::No};
    EXPECT_FALSE(r.registerWith("pw"));
    EXPECT_EQ(seen, (std::vector<std::string>{"True", "False", "False"}));
    EXPECT_EQ(r.texts(), std::vector<std::string>{kWrong});
}

TEST(PasswordRegistration, Entry) {
    enum class Step { mismatch, enterInFirst, enterInSecondWithoutFocus, cancel, showPassword, hidePassword };
    struct Case {
        Step step;
        Stage stage;
        std::optional<PasswordBox> focus;
        std::vector<std::string> messages;
    } cases[] = {
        {Step::mismatch, Stage::entry, PasswordBox::first, {kMismatch}},
        {Step::enterInFirst, Stage::entry, PasswordBox::second, {}},
        {Step::enterInSecondWithoutFocus, Stage::entry, PasswordBox::first, {}},
        {Step::cancel, Stage::closed, std::nullopt, {}},
        {Step::showPassword, Stage::entry, PasswordBox::second, {}},
        {Step::hidePassword, Stage::entry, PasswordBox::first, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        Registration r;
        r.script = [&] {
            EXPECT_EQ(r.dialog.limit, 127u);
            EXPECT_EQ(r.dialog.account, "alice");
            EXPECT_FALSE(r.dialog.showChecked);
            r.dialog.boxes[0] = "secret";
            r.dialog.boxes[1] = c.step == Step::mismatch ? "Secret" : "secret";
            switch (c.step) {
            case Step::mismatch: r.enter("secret", "Secret"); break;
            case Step::enterInFirst:
                r.dialog.focus(PasswordBox::first);
                r.presenter.onEnter(PasswordBox::first);
                break;
            case Step::enterInSecondWithoutFocus:
                r.dialog.focus(PasswordBox::first);
                r.presenter.onEnter(PasswordBox::second);
                break;
            case Step::cancel: r.presenter.onCancel(); break;
            case Step::showPassword:
                r.dialog.focus(PasswordBox::second);
                r.presenter.onShowPasswordClicked(true);
                EXPECT_TRUE(r.dialog.readable);
                break;
            case Step::hidePassword:
                r.dialog.focus(PasswordBox::first);
                r.presenter.onShowPasswordClicked(true);
                r.presenter.onShowPasswordClicked(false);
                EXPECT_FALSE(r.dialog.readable);
                break;
            }
            EXPECT_EQ(r.presenter.stage(), c.stage);
            EXPECT_EQ(r.dialog.focused, c.focus);
            EXPECT_TRUE(r.dialog.enabled);
            if (c.step == Step::mismatch || c.step == Step::cancel) EXPECT_TRUE(r.dialog.boxes[0].empty());
            else EXPECT_EQ(r.dialog.boxes[0], "secret");
            EXPECT_EQ(r.dialog.open, c.stage != Stage::closed);
        };
        EXPECT_FALSE(r.presenter.showModal());
        EXPECT_EQ(r.texts(), c.messages);
        EXPECT_TRUE(r.jobsmithRuns().empty());
        for (const auto& m : r.machine.messages) EXPECT_EQ(m.request.title, "パスワード設定");
    }
}

TEST(PasswordRegistration, WrongPasswordThenRightOne) {
    Registration r;
    r.corvidTick = 0;
    r.machine.scriptedAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    r.script = [&] {
        r.enter("wrong", "wrong");
        EXPECT_FALSE(r.dialog.enabled);
        EXPECT_TRUE(r.dialog.boxes[0].empty());   // the presenter's copy is the only one
        EXPECT_EQ(r.presenter.stage(), Stage::deletingOldTest);
        r.presenter.onCancel();                   // disabled: nothing
        r.tickDialog();
        EXPECT_EQ(r.presenter.stage(), Stage::entry);
        r.corvidTick = 5;
        r.enter("right", "right");
        r.tickDialog();
    };
    EXPECT_TRUE(r.presenter.showModal());
    EXPECT_EQ(r.texts(), (std::vector<std::string>{kWrong, kRestartQuestion}));
    const auto runs = r.jobsmithRuns();
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(runs[1]->input, "wrong");
    EXPECT_EQ(runs[4]->input, "right");
    EXPECT_EQ(runs[6]->input, "right");
}

TEST(PasswordRegistration, RestartAskedNeverForced) {
    struct Case {
        MessageAnswer answer;
        std::optional<std::uint32_t> error;
        int calls;
        const char* message;   // after the question
    } cases[] = {
        {MessageAnswer::No, std::nullopt, 0, nullptr},
        {MessageAnswer::Yes, std::nullopt, 1, nullptr},
        {MessageAnswer::Yes, 1314u, 1, "シャットダウン権限がありません"},
        {MessageAnswer::Yes, 1115u, 1, "( 1115 )\rWindows 終了処理に失敗しました\r他の方法で Windows を再起動させて下さい"},
    };
    for (const Case& c : cases) {
        Registration r;
        r.machine.scriptedAnswers = {c.answer};
        r.restart.answer = c.error;
        bool closedBeforeRestart = false;
        r.machine.onMessage = [&](const sim::MessageRecord& m) {
            if (m.request.text != kRestartQuestion) closedBeforeRestart = !r.dialog.open && !r.wait.open;
        };
        EXPECT_TRUE(r.registerWith("pw"));
        EXPECT_EQ(r.restart.calls, c.calls);
        const auto texts = r.texts();
        ASSERT_EQ(texts.size(), c.message ? 2u : 1u);
        EXPECT_EQ(texts[0], kRestartQuestion);
        EXPECT_EQ(r.machine.messages[0].request.title, "再起動が必要");
        if (c.message) {
            EXPECT_EQ(texts[1], c.message);
            EXPECT_TRUE(closedBeforeRestart);
        }
    }
}

TEST(PasswordRegistration, TrayBringsTheFrontWindowForward) {
    Registration r;
    r.duringWait = [&](int tick) {
        if (tick == 2) r.presenter.bringToFront();
        if (tick == 3) r.store("True");
    };
    r.machine.scriptedAnswers = {MessageAnswer::No};
    r.script = [&] {
        r.presenter.bringToFront();
        r.enter("pw", "pw");
        r.tickDialog();
    };
    EXPECT_TRUE(r.presenter.showModal());
    EXPECT_EQ(r.dialog.fronts, 1);
    EXPECT_EQ(r.wait.fronts, 1);
    r.presenter.bringToFront();
    EXPECT_EQ(r.dialog.fronts, 1);
}

} // namespace
} // namespace tidemark::monitor
