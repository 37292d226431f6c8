#include "monitor/windows/password/PasswordPresenter.h"

#include "monitor/windows/WindowsRestart.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Stage = PasswordStage;
namespace task = systemstart;

constexpr const char* kDialogTitle = "パスワード設定";
constexpr const char* kTestFailed = "パスワード試験実行に失敗しました";

} // namespace

PasswordPresenter::PasswordPresenter(MonitorContext& context, PasswordView& view, PasswordWaitView& waitView,
                                     platform::SystemRestart& restart)
    : context_(context), view_(view), waitView_(waitView), restart_(restart) {}

bool PasswordPresenter::showModal() {
    registered_ = restartWanted_ = false;
    view_.runModal();
    stage_ = Stage::closed;
    run_.reset();
    password_.clear();
    // Both windows are gone before Windows is asked to restart.
    if (restartWanted_) restartWindows(context_, restart_);
    return registered_;
}

void PasswordPresenter::bringToFront() {
    if (waitOpen_) waitView_.bringToFront();
    else if (stage_ != Stage::closed) view_.bringToFront();
}

void PasswordPresenter::load() {
    stage_ = Stage::entry;
    secondFocused_ = false;
    ticks_ = 0;
    view_.setLimit(static_cast<unsigned>(task::kMaxPassword));
    view_.wipePasswords();
    view_.setShowChecked(false);
    view_.showPasswords(false);
    view_.setAccount(context_.state.user.logonName);
}

void PasswordPresenter::onFocused(PasswordBox box) { secondFocused_ = box == PasswordBox::second; }

void PasswordPresenter::onEnter(PasswordBox box) {
    if (stage_ != Stage::entry) return;
    if (box == PasswordBox::first) {
        view_.focus(PasswordBox::second);
        return;
    }
    if (secondFocused_) check();
}

void PasswordPresenter::onShowPasswordClicked(bool checked) {
    view_.showPasswords(checked);
    view_.focus(secondFocused_ ? PasswordBox::second : PasswordBox::first);
}

void PasswordPresenter::onCancel() {
    if (stage_ == Stage::entry) {
        closeDialog();
    } else if (stage_ == Stage::deletingOldTest || stage_ == Stage::testStarting) {
        endRun(kRunCancelled);
        testFailed();
    }
}

void PasswordPresenter::onWaitCloseRequested() {
    if (stage_ != Stage::deletingOldSystemTask && stage_ != Stage::creating) return;
    endRun(kRunCancelled);
    systemStartFailed();
}

void PasswordPresenter::check() {
    std::string first = view_.password(PasswordBox::first);
    std::string second = view_.password(PasswordBox::second);
    const bool same = first == second;
    task::wipe(second);
    if (!same) {
        task::wipe(first);
        ask(view_.handle(), "もう一度パスワードを入れなおしてください", kDialogTitle, MessageIcon::Error);
        view_.wipePasswords();
        view_.focus(PasswordBox::first);
        secondFocused_ = false;
        return;
    }
    password_.take(first);
    // From here on the presenter's copy is the only one.
    view_.wipePasswords();
    view_.enableEntry(false);
    // An earlier test task of the same name would make the creation fail.
    if (!startJobsmith(task::deleteParameters(task::kTestTask), {}, Stage::deletingOldTest)) {
        testFailed();
        return;
    }
    view_.startTimer(kTickMs);
}

bool PasswordPresenter::startJobsmith(const std::string& parameters, const std::string& input, PasswordStage next) {
    platform::StartedProgram started = context_.platform.launcher.startProgramWithInput(
        windowless::ownFolder(context_.platform) + "\\Jobsmith.exe", parameters,
        platform::showcmd::MinimizedNoActivate, input, task::kJobsmithCodePage);
    if (!started.program) return false;
    run_ = std::move(started.program);
    runStartedMs_ = context_.platform.clock.monotonicMs();
    stage_ = next;
    return true;
}

std::optional<std::uint32_t> PasswordPresenter::finishedRun() {
    if (!run_) return std::nullopt;
    const auto code = run_->exitCode();
    if (code) {
        run_.reset();
        return code;
    }
    if (context_.platform.clock.monotonicMs() - runStartedMs_ < kRunLimitMs) return std::nullopt;
    endRun(kRunTimedOut);
    return kRunTimedOut;
}

void PasswordPresenter::endRun(std::uint32_t code) {
    if (!run_) return;
    run_->end(code);
    run_.reset();
}

void PasswordPresenter::onTimer() {
    if (stage_ != Stage::deletingOldTest && stage_ != Stage::testStarting) return;
    const auto code = finishedRun();
    if (!code) return;
    if (stage_ == Stage::deletingOldTest) {
        if (!task::deleted(*code)) return testFailed();
        // "PassTest" is reset once no earlier test task is left to set it,
        // and a reset that fails stops the test: an earlier "True" would
        // pass a wrong password.
        const bool reset = SettingsFiles(context_.platform, context_.state)
                               .write(ini::section::AppSettingFlag, ini::key::PassTest,
                                      std::optional<std::string>(ini::word::False));
        context_.state.settings.sharedWritable = reset;
        if (!reset) return testFailed();
        const std::string account = task::taskAccount(context_.platform.accounts.workstationUser(),
                                                      context_.state.user.logonName);
        if (!startJobsmith(task::addParameters(task::kTestTask, windowless::ownFolder(context_.platform), account),
                           password_.get(), Stage::testStarting))
            testFailed();
        return;
    }
    if (*code != task::kJobsmithDone) return testFailed();
    view_.stopTimer();
    stage_ = Stage::watching;
    waitOpen_ = true;
    waitView_.runModal(view_.handle());
    waitOpen_ = false;
    if (stage_ == Stage::entry) {
        // Wrong password: ready for another try.
        password_.clear();
        view_.wipePasswords();
        view_.enableEntry(true);
        view_.focus(PasswordBox::first);
        secondFocused_ = false;
    } else {
        closeDialog();
    }
}

void PasswordPresenter::testFailed() {
    ask(view_.handle(), kTestFailed, kDialogTitle, MessageIcon::Error);
    view_.enableEntry(true);
    closeDialog();
}

void PasswordPresenter::closeDialog() {
    stage_ = Stage::closed;
    run_.reset();
    password_.clear();
    view_.stopTimer();
    view_.wipePasswords();
    view_.close();
}

void PasswordPresenter::loadWait() {
    ticks_ = 0;
    waitView_.setText("パスワードを検査しています\rしばらくお待ちください");
    waitView_.setProgress(0, kWatchTicks);
    waitView_.startTimer(kTickMs);
}

void PasswordPresenter::onWaitTimer() {
    if (stage_ == Stage::watching) {
        // Passed only with the exact word: "true" or an empty value is not.
        if (SettingsFiles(context_.platform, context_.state).read(ini::section::AppSettingFlag, ini::key::PassTest) ==
            ini::word::True) {
            waitView_.setProgress(kWatchTicks, kWatchTicks);
            if (!startJobsmith(task::deleteParameters(task::kSystemStartTask), {}, Stage::deletingOldSystemTask))
                systemStartFailed();
            return;
        }
        waitView_.setProgress(++ticks_, kWatchTicks);
        if (ticks_ >= kWatchTicks) wrongPassword();
        return;
    }
    if (stage_ != Stage::deletingOldSystemTask && stage_ != Stage::creating) return;
    const auto code = finishedRun();
    if (!code) return;
    if (stage_ == Stage::deletingOldSystemTask) {
        if (!task::deleted(*code)) return systemStartFailed();
        const std::string account = task::taskAccount(context_.platform.accounts.workstationUser(),
                                                      context_.state.user.logonName);
        if (!startJobsmith(
                task::addParameters(task::kSystemStartTask, windowless::ownFolder(context_.platform), account),
                password_.get(), Stage::creating))
            systemStartFailed();
        return;
    }
    if (*code != task::kJobsmithDone) return systemStartFailed();
    registered_ = true;
    password_.clear();
    waitView_.stopTimer();
    restartWanted_ = ask(waitView_.handle(), "設定を有効にするには再起動が必要です。\r今すぐ再起動しますか？",
                         "再起動が必要", MessageIcon::Information, MessageButtons::YesNo) == MessageAnswer::Yes;
    stage_ = Stage::closed;
    waitView_.close();
}

void PasswordPresenter::wrongPassword() {
    waitView_.stopTimer();
    ask(waitView_.handle(), "パスワードが間違っています。\rパスワードを入力しなおしてください", "パスワードが違います",
        MessageIcon::Error);
    // The test task has not run and never should with this password.
    context_.platform.launcher.startProgramWithInput(windowless::ownFolder(context_.platform) + "\\Jobsmith.exe",
                                                     task::deleteParameters(task::kTestTask),
                                                     platform::showcmd::MinimizedNoActivate, {},
                                                     task::kJobsmithCodePage);
    ticks_ = 0;
    stage_ = Stage::entry;
    waitView_.close();
}

void PasswordPresenter::systemStartFailed() {
    waitView_.stopTimer();
    run_.reset();
    ask(waitView_.handle(), "システムスタートタスク設定に失敗しました", "システムスタートタスク設定", MessageIcon::Error);
    stage_ = Stage::closed;
    waitView_.close();
}

MessageAnswer PasswordPresenter::ask(platform::NativeWindow owner, const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) {
    platform::MessageRequest m;
    m.owner = owner;
    m.text = text;
    m.title = title;
    m.icon = icon;
    m.buttons = buttons;
    return context_.platform.messages.show(m);
}

} // namespace tidemark::monitor
