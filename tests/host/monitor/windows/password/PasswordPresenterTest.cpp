// The system-start registration over the simulated machine with a scripted
// Jobsmith: every stage and its way out, Jobsmith's exit codes at each run,
// the password on standard input only, "PassTest" and its 75 ticks, the
// entry keys, and the restart never forced.
#include <gtest/gtest.h>

#include <functional>

#include "monitor/windows/password/PasswordPresenter.h"
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
    std::optional<std::uint32_t> restart() override { return ++calls, answer; }
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
        std::string account;
        int fronts = 0;
        void runModal() override { open = true, r.presenter.load(), r.script(), open = false; }
        void close() override { open = false; }
        void bringToFront() override { ++fronts; }
        platform::NativeWindow handle() const override { return 0x900; }
        void setAccount(const std::string& name) override { account = name; }
        void setLimit(unsigned characters) override { limit = characters; }
        std::string password(PasswordBox box) override { return boxes[static_cast<int>(box)]; }
        void wipePasswords() override { boxes[0].clear(), boxes[1].clear(); }
        void showPasswords(bool v) override { readable = v; }
        void setShowChecked(bool v) override { showChecked = v; }
        void focus(PasswordBox box) override { focused = box, r.presenter.onFocused(box); }
        void enableEntry(bool v) override { enabled = v; }
        void startTimer(unsigned ms) override { timer = ms; }
        void stopTimer() override { timer = 0; }
    };
    struct Wait final : PasswordWaitView {
        Registration& r;
        explicit Wait(Registration& owner) : r(owner) {}
        bool open = false;
        int value = -1, ticks = 0, fronts = 0;
        unsigned timer = 0;
        void runModal(platform::NativeWindow) override {
            open = true, ticks = 0, r.presenter.loadWait();
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
        void setText(const std::string&) override {}
        void setProgress(int v, int) override { value = v; }

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
        dialog.boxes[0] = first, dialog.boxes[1] = second;
        dialog.focus(PasswordBox::second), presenter.onEnter(PasswordBox::second);
    }
    // The dialog's timer until Jobsmith's runs of the dialog are over.
    void tickDialog() {
        for (int guard = 0; guard < 50 && dialog.timer; ++guard) {
            machine.clock.advance(dialog.timer);
            presenter.onTimer();
        }
    }
    bool registerWith(const std::string& password) {
        script = [this, password] { enter(password, password), tickDialog(); };
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

// Every way through: Jobsmith's runs (delete test, add test, delete system,
// add system) with their exit codes, "PassTest" as Corvid leaves it, the
// restart answer and its failure. Each run begins with a stale "True" from
// an earlier test: it is reset after the old test task is gone and before
// the new one, and a failed reset stops the test.
TEST(PasswordRegistration, EveryWayThrough) {
    constexpr std::uint32_t kNone = task::kJobsmithNotFound, kDenied = 0x80070005;
    const std::string kNoPrivilege = "シャットダウン権限がありません";
    const std::string kOther = "( 1115 )\rWindows 終了処理に失敗しました\r他の方法で Windows を再起動させて下さい";
    struct Case {
        std::vector<std::uint32_t> codes;
        std::optional<const char*> passTest;   // what Corvid leaves (at tick 3)
        std::vector<std::string> messages;
        std::size_t runs;                      // Jobsmith runs started
        MessageAnswer restartAnswer = MessageAnswer::No;
        std::optional<std::uint32_t> restartError = std::nullopt;
        bool resetFails = false;
    } cases[] = {
        {{0, 0, 0, 0}, "True", {kRestartQuestion}, 4},
        {{kNone, 0, kNone, 0}, "True", {kRestartQuestion}, 4},
        {{0, 0, 0, 0}, "True", {kRestartQuestion}, 4, MessageAnswer::Yes},
        {{0, 0, 0, 0}, "True", {kRestartQuestion, kNoPrivilege}, 4, MessageAnswer::Yes, 1314u},
        {{0, 0, 0, 0}, "True", {kRestartQuestion, kOther}, 4, MessageAnswer::Yes, 1115u},
        {{kNotStarted}, "True", {kTestFailed}, 0},
        {{1}, "True", {kTestFailed}, 1},
        {{kDenied}, "True", {kTestFailed}, 1},
        {{0, kNotStarted}, "True", {kTestFailed}, 1},
        {{0, kDenied}, "True", {kTestFailed}, 2},
        {{0, kNone}, "True", {kTestFailed}, 2},
        {{0, 0, kNotStarted}, "True", {kSystemFailed}, 2},
        {{0, 0, 5}, "True", {kSystemFailed}, 3},
        {{0, 0, 0, kNotStarted}, "True", {kSystemFailed}, 3},
        {{0, 0, 0, kNone}, "True", {kSystemFailed}, 4},
        {{0, 0, 0, 1}, "True", {kSystemFailed}, 4},
        {{0, 0}, "true", {kWrong}, 3},
        {{0, 0}, "TRUE", {kWrong}, 3},
        {{0, 0}, "", {kWrong}, 3},
        {{0, 0}, "False", {kWrong}, 3},
        {{0, 0}, std::nullopt, {kWrong}, 3},
        {{0}, "True", {kTestFailed}, 1, MessageAnswer::No, std::nullopt, true},
    };
    const std::string password = "pa ss\"w\\ord 日本 Pässwört-€1";   // beyond code page 932 too
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.codes) + c.passTest.value_or("(missing)"));
        Registration r;
        r.codes = c.codes;
        r.restart.answer = c.restartError;
        r.machine.scriptedAnswers = {c.restartAnswer};
        r.duringWait = [&](int tick) {
            if (tick == 3) r.store(c.passTest ? *c.passTest : nullptr);
        };
        r.store("True");
        std::vector<std::string> seen;   // "PassTest" as each Jobsmith start finds it
        r.machine.beforeStart = [&, scripted = r.machine.beforeStart](const std::string& file, const std::string& p) {
            seen.push_back(r.passTest());
            if (c.resetFails) r.machine.files.denyWrites(r.copy.state.settings.sharedPath);
            scripted(file, p);
        };
        Stage after = Stage::closed;
        bool closedBeforeRestart = true;
        r.machine.onMessage = [&](const sim::MessageRecord& m) {
            if (m.request.title == r.copy.state.programTitle) closedBeforeRestart = !r.dialog.open && !r.wait.open;
        };
        r.script = [&] {
            r.enter(password, password);
            r.tickDialog();
            after = r.presenter.stage();
        };
        const std::uint64_t start = r.machine.clock.monotonicMs();
        const bool registered = r.presenter.showModal();
        EXPECT_EQ(registered, c.messages[0] == kRestartQuestion);
        EXPECT_EQ(r.texts(), c.messages);
        EXPECT_EQ(r.restart.calls, c.restartAnswer == MessageAnswer::Yes ? 1 : 0);   // once, never forced
        EXPECT_TRUE(closedBeforeRestart);
        EXPECT_TRUE(r.dialog.boxes[0].empty() && r.dialog.boxes[1].empty());
        const auto runs = r.jobsmithRuns();
        ASSERT_EQ(runs.size(), c.runs);
        EXPECT_EQ(seen.at(0), "True");
        if (seen.size() > 1) {
            EXPECT_EQ(seen[1], "False");
        }
        // The password goes on standard input to the runs that create a
        // task; no command line holds it.
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_TRUE(runs[i]->direct);
            EXPECT_EQ(runs[i]->file, std::string(kFolder) + "\\Jobsmith.exe");
            EXPECT_EQ(runs[i]->showCommand, platform::showcmd::MinimizedNoActivate);
            EXPECT_EQ(runs[i]->parameters.find("pa ss"), std::string::npos);
            EXPECT_EQ(runs[i]->input, i == 1 || i == 3 ? password : "");
            EXPECT_EQ(runs[i]->inputCodePage, 65001u);   // UTF-8: the password as typed
        }
        const std::string test = "Quillon Kestrel Soon Start Task.job", system = "Quillon Kestrel SYSTEM Start Task.job";
        const std::vector<std::vector<std::string>> forms = {
            {test, "/DELETE"},
            {test, "/SOON", "Quillon Program Auto Set Task !!", "\"" + std::string(kFolder) + "\\Corvid.exe\"",
             "PassTest", "alice"},
            c.messages[0] == kWrong ? std::vector<std::string>{test, "/DELETE"} : std::vector<std::string>{system, "/DELETE"},
            {system, "/SYS", "Quillon Program Auto Set Task !! App Start CASCADA",
             "\"" + std::string(kFolder) + "\\Cascada.exe\"", "RUN", "alice"},
        };
        for (std::size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(words(*runs[i]), forms[i]);
        if (c.messages[0] == kWrong) {
            // The 75th tick, not one earlier; the dialog is ready again.
            EXPECT_EQ(r.wait.ticks, 75);
            EXPECT_EQ(r.wait.value, 75);
            EXPECT_EQ(r.machine.messages[0].request.title, "パスワードが違います");
            EXPECT_EQ(after, Stage::entry);
            EXPECT_TRUE(r.dialog.enabled);
            EXPECT_EQ(r.dialog.focused, PasswordBox::first);
        } else if (c.messages[0] == kTestFailed) {
            // At once, not after the watch.
            EXPECT_EQ(r.wait.ticks, 0);
            EXPECT_LT(r.machine.clock.monotonicMs() - start, 10000u);
        } else if (c.runs > 2) {
            EXPECT_EQ(r.wait.value, 75);
        }
    }
}

// A run of Jobsmith that never returns is ended and the registration
// reported as not done: after the run's time limit, or at once by キャンセル
// (the dialog's runs) or the wait window's close box (the system-start runs).
TEST(PasswordRegistration, ARunThatNeverEndsIsEndedAndReportedNotDone) {
    constexpr std::uint64_t kDay = 24ull * 3600 * 1000;
    struct Case {
        std::size_t hangs;   // which run of the four never ends
        bool cancelled;      // left by the user, else by the time limit
        const char* message;
    } cases[] = {
        {0, false, kTestFailed},  {1, false, kTestFailed},  {2, false, kSystemFailed}, {3, false, kSystemFailed},
        {0, true, kTestFailed},   {1, true, kTestFailed},   {2, true, kSystemFailed},  {3, true, kSystemFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hangs) + (c.cancelled ? " cancelled" : " timed out"));
        Registration r;
        r.machine.beforeStart = [&r, &c, scripted = r.machine.beforeStart](const std::string& file, const std::string& p) {
            scripted(file, p);
            if (file.find("Jobsmith") != std::string::npos && r.jobsmithStarts - 1 == c.hangs)
                r.machine.programRunMs["JOBSMITH"] = kDay;
        };
        const auto leaveAt = [&](std::uint64_t elapsedMs) {
            return c.cancelled && elapsedMs >= 3000 && r.jobsmithStarts == c.hangs + 1;
        };
        r.script = [&] {
            r.enter("secret", "secret");
            const std::uint64_t start = r.machine.clock.monotonicMs();
            for (int guard = 0; guard < 200 && r.dialog.timer; ++guard) {
                r.machine.clock.advance(r.dialog.timer);
                if (leaveAt(r.machine.clock.monotonicMs() - start)) r.presenter.onCancel();
                else r.presenter.onTimer();
            }
        };
        r.duringWait = [&](int tick) {
            if (tick == 3) r.store("True");
            if (tick > 3 && leaveAt(static_cast<std::uint64_t>(tick) * 1000)) r.presenter.onWaitCloseRequested();
        };
        EXPECT_FALSE(r.presenter.showModal());
        EXPECT_EQ(r.texts(), std::vector<std::string>{c.message});
        const auto runs = r.jobsmithRuns();
        ASSERT_EQ(runs.size(), c.hangs + 1);
        const sim::LaunchRecord& hung = *runs.back();
        EXPECT_TRUE(hung.ended);
        const std::uint64_t ran = hung.endsAtMs - hung.atMs;
        if (c.cancelled) {
            EXPECT_LT(ran, 10000u);
        } else {
            EXPECT_GE(ran, PasswordPresenter::kRunLimitMs);
            EXPECT_LT(ran, PasswordPresenter::kRunLimitMs + 2000);
        }
        EXPECT_EQ(r.presenter.stage(), Stage::closed);
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

TEST(PasswordRegistration, Entry) {
    enum class Step { mismatch, enterInFirst, enterInSecondWithoutFocus, cancel, show, hide, retry };
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
        {Step::show, Stage::entry, PasswordBox::second, {}},
        {Step::hide, Stage::entry, PasswordBox::first, {}},
        {Step::retry, Stage::closed, PasswordBox::second, {kWrong, kRestartQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        Registration r;
        r.corvidTick = c.step == Step::retry ? 0 : 3;
        r.machine.scriptedAnswers = {MessageAnswer::Ok, MessageAnswer::No};
        r.script = [&] {
            EXPECT_EQ(r.dialog.limit, 127u);   // Jobsmith's limit: a password is never cut
            EXPECT_EQ(r.dialog.account, "alice");
            EXPECT_FALSE(r.dialog.showChecked);
            r.presenter.bringToFront();
            r.dialog.boxes[0] = r.dialog.boxes[1] = "secret";
            switch (c.step) {
            case Step::mismatch: r.enter("secret", "Secret"); break;
            case Step::enterInFirst: r.dialog.focus(PasswordBox::first), r.presenter.onEnter(PasswordBox::first); break;
            case Step::enterInSecondWithoutFocus:
                r.dialog.focus(PasswordBox::first), r.presenter.onEnter(PasswordBox::second);
                break;
            case Step::cancel: r.presenter.onCancel(); break;
            case Step::show: r.dialog.focus(PasswordBox::second), r.presenter.onShowPasswordClicked(true); break;
            case Step::hide:
                r.dialog.focus(PasswordBox::first), r.presenter.onShowPasswordClicked(true);
                r.presenter.onShowPasswordClicked(false);
                break;
            case Step::retry:
                r.enter("wrong", "wrong");
                r.tickDialog();
                r.corvidTick = 5;
                r.enter("right", "right");
                r.tickDialog();
                break;
            }
            EXPECT_EQ(r.dialog.readable, c.step == Step::show);
            EXPECT_EQ(r.presenter.stage(), c.stage);
            EXPECT_EQ(r.dialog.focused, c.focus);
            EXPECT_EQ(r.dialog.boxes[0].empty(), c.step == Step::mismatch || c.stage == Stage::closed);
        };
        EXPECT_EQ(r.presenter.showModal(), c.step == Step::retry);
        EXPECT_EQ(r.texts(), c.messages);
        EXPECT_EQ(r.dialog.fronts, 1);
        r.presenter.bringToFront();   // closed: nothing
        EXPECT_EQ(r.dialog.fronts + r.wait.fronts, 1);
        if (c.step != Step::retry) EXPECT_TRUE(r.jobsmithRuns().empty());
        else EXPECT_EQ(r.jobsmithRuns()[4]->input, "right");
    }
}

} // namespace
} // namespace tidemark::monitor
