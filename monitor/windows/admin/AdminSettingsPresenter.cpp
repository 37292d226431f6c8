#include "monitor/windows/admin/AdminSettingsPresenter.h"

#include <cstdio>
#include <utility>

#include "monitor/windows/UnreadableSettings.h"
#include "monitor/windows/WindowsRestart.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/system/CommandLine.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::monitor {
namespace {

using Control = AdminControl;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
namespace section = ini::section;
namespace key = ini::key;
namespace word = ini::word;

constexpr const char* kChangeTitle = "設定変更の確認";

constexpr const char* kSystemStartNote =
    "　Tidemarkをシステムスタート時に実行するか決定します。\r\r"
    "　チェックすると、現在ログオンしているアカウントでシステムスタート時にTidemarkが実行されるようになります。\r\r"
    "　システムスタート時にプログラムがログオンできるように、パスワードの入力が必要になります。\r\r"
    "　入力されたパスワードが正しいか検査するのに１分ほど時間がかかります。";

std::string hexCode(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
    return text;
}

} // namespace

AdminSettingsPresenter::AdminSettingsPresenter(MonitorContext& context, AdminSettingsView& view,
                                               platform::SystemRestart& restart, AdminChildren children)
    : context_(context), view_(view), restart_(restart), children_(std::move(children)) {}

void AdminSettingsPresenter::open() {
    if (isOpen()) {
        view_.bringToFront();
        return;
    }
    create();
}

void AdminSettingsPresenter::create() {
    // Until a control first has the focus, what the window sets up is not
    // taken for a click.
    suppressClicks_ = true;
    removal_.reset();
    SettingsFiles files(context_.platform, context_.state);
    const auto holder = files.tryRead(section::AppSettingFlag, key::MemCleanRightUser);
    const auto watch = files.tryRead(section::AppSettingFlag, key::ProcWatchSetting);
    const auto read = files.tryRead(section::AppSettingFlag, key::MemCleanForm);
    if (!holder || !watch || !read) {
        tellSettingsUnreadable(context_.platform.messages, 0);
        return;
    }
    const std::string& form = *read;
    view_.create();
    systemStart_ = *holder == word::SystemStartAdministrators;
    view_.setChecked(Control::systemStartBox, systemStart_);

    watch_ = *watch == word::True;
    view_.setChecked(Control::watchBox, watch_);
    view_.enable(Control::watchSettingsButton, watch_);

    slow_ = !form.empty() && form != word::First;
    view_.setChecked(Control::fastOption, !slow_);
    view_.setChecked(Control::slowOption, slow_);
    view_.enable(Control::slowSettingsButton, slow_);

    context_.state.windows.adminOpen = true;
    view_.setText(Control::systemStartNote, kSystemStartNote);
    view_.show();
    // A word the window does not know is shown as the slow form: stored as
    // such, so that the cleaner does what the window shows.
    if (slow_ && form != word::Slow && !write(key::MemCleanForm, word::Slow)) {
        slow_ = false;
        view_.setChecked(Control::fastOption, true);
        view_.setChecked(Control::slowOption, false);
        view_.enable(Control::slowSettingsButton, false);
    }
    if (watch_ && context_.state.xpOrLater && !systemStart_) showRecommendation();
}

void AdminSettingsPresenter::onFocus(AdminControl control) {
    suppressClicks_ = false;
    if (control == Control::systemStartBox) view_.selectPage(0);
    else if (control == Control::watchBox || control == Control::slowSettingsButton) view_.selectPage(1);
}

void AdminSettingsPresenter::onSystemStartClicked(bool checked) {
    if (suppressClicks_ || removal_) return;
    MonitorState& s = context_.state;
    if (checked) {
        s.windows.passwordClosed = false;
        suppressClicks_ = true;
        s.windows.adminBusy = true;
        const bool kept = children_.registerSystemStart ? children_.registerSystemStart() : false;
        s.windows.adminBusy = false;
        s.windows.passwordClosed = true;
        if (!kept) view_.setChecked(Control::systemStartBox, false);
        return;
    }
    if (ask("現在設定されている\r\nTidemarkを「システムスタート時に実行する」\r\nという設定を削除しますか？", kChangeTitle,
            MessageIcon::Information, MessageButtons::YesNo) != MessageAnswer::Yes) {
        view_.setChecked(Control::systemStartBox, true);
        return;
    }
    // Jobsmith's exit code says whether the task is gone; it is awaited on
    // the window's timer so that the window keeps working.
    platform::StartedProgram started = context_.platform.launcher.startProgram(
        view_.handle(), quoteArgument(windowless::ownFolder(context_.platform) + "\\Jobsmith.exe"),
        quoteArgument(kSystemStartTaskName) + " /DELETE", platform::showcmd::MinimizedNoActivate);
    if (!started.program) {
        view_.setChecked(Control::systemStartBox, true);
        showRemovalFailure(static_cast<std::uint32_t>(started.result));
        return;
    }
    removal_ = std::move(started.program);
    view_.enable(Control::systemStartBox, false);
    view_.startTimer(kPollMs);
}

void AdminSettingsPresenter::onTimer() {
    if (!removal_) return;
    const auto code = removal_->exitCode();
    if (!code) return;
    view_.stopTimer();
    removal_.reset();
    view_.enable(Control::systemStartBox, true);
    finishRemoval(*code);
}

void AdminSettingsPresenter::finishRemoval(std::uint32_t exitCode) {
    if (exitCode != kJobsmithDone && exitCode != kJobsmithNotFound) {
        view_.setChecked(Control::systemStartBox, true);
        showRemovalFailure(exitCode);
        return;
    }
    // Only the system-start account's right is given up: a logged-on user
    // who holds the right by now keeps it.
    const auto outcome = SettingsFiles(context_.platform, context_.state)
                             .writeIf(section::AppSettingFlag, key::MemCleanRightUser,
                                             word::SystemStartAdministrators, word::NoUser);
    context_.state.settings.sharedWritable = outcome != profile::WriteOutcome::Failed;
    if (outcome == profile::WriteOutcome::Failed) {
        view_.setChecked(Control::systemStartBox, true);
        saveFailed();
        return;
    }
    systemStart_ = false;
    if (ask("設定を有効にするには再起動が必要です。\r今すぐ再起動しますか？", "再起動が必要", MessageIcon::Information,
            MessageButtons::YesNo) == MessageAnswer::Yes)
        restartWindows(context_, restart_);
}

void AdminSettingsPresenter::showRemovalFailure(std::uint32_t code) {
    ask("システムスタート時に実行するタスクを削除できませんでした。\r\n（コード " + hexCode(code) +
            "）\r\n設定は変更されていません。",
        kChangeTitle, MessageIcon::Error);
}

void AdminSettingsPresenter::onWatchClicked(bool checked) {
    if (!write(key::ProcWatchSetting, checked ? word::True : word::False)) {
        view_.setChecked(Control::watchBox, watch_);
        return;
    }
    watch_ = checked;
    view_.enable(Control::watchSettingsButton, checked);
    if (!checked) return;
    if (context_.state.xpOrLater) {
        if (!systemStart_) showRecommendation();
    } else if (!suppressClicks_) {
        ask("Windows 2000 の実行環境の場合、\r\nプロセス監視を行うプロセス名に「日本語名」を指定することは出来ません。\r\n\r\n"
            "例）　画竜点睛.exe　など\r\n\r\nこれは、ＯＳの仕様です。\r\n半角アルファベットのプロセス名のみを指定してください。\r\n"
            "日本語のプロセス名を指定しても、クリーニング・パス機能は働きません。",
            "Windows 2000 実行環境でのプロセス監視設定の注意点", MessageIcon::Information);
    }
}

void AdminSettingsPresenter::showRecommendation() {
    ask("このコンピュータで複数のユーザーがログオンしている時に、\r\n"
        "メモリークリーナーの実行権者が「Administrators」グループでない場合、\r\n"
        "複数のユーザーが実行中のプロセスを完全に取得することが出来ません。\r\n"
        "完全なプロセス監視を行うために「起動設定」で「システムスタート時に実行する」ことを推奨します。",
        "システムスタート時に実行することを推奨します", MessageIcon::Information);
}

void AdminSettingsPresenter::onFastSelected() {
    if (slow_) selectForm(false);
}

void AdminSettingsPresenter::onSlowSelected() {
    if (!slow_) selectForm(true);
}

void AdminSettingsPresenter::selectForm(bool slow) {
    if (!write(key::MemCleanForm, slow ? word::Slow : word::First)) {
        view_.setChecked(Control::fastOption, !slow_);
        view_.setChecked(Control::slowOption, slow_);
        return;
    }
    slow_ = slow;
    view_.enable(Control::slowSettingsButton, slow);
}

void AdminSettingsPresenter::onSlowSettingsClicked() { runChild(children_.editSlowCleaning); }

void AdminSettingsPresenter::onWatchSettingsClicked() { runChild(children_.editProcessWatch); }

void AdminSettingsPresenter::runChild(const std::function<void()>& child) {
    // The tray only beeps while a child window is open.
    context_.state.windows.adminBusy = true;
    if (child) child();
    context_.state.windows.adminBusy = false;
}

void AdminSettingsPresenter::onClose() {
    if (removal_) return;
    view_.stopTimer();
    context_.state.windows.adminOpen = false;
    view_.destroy();
}

bool AdminSettingsPresenter::write(const char* keyName, const std::string& value) {
    const bool ok = SettingsFiles(context_.platform, context_.state)
                        .write(section::AppSettingFlag, keyName, std::optional<std::string>(value));
    context_.state.settings.sharedWritable = ok;
    if (!ok) saveFailed();
    return ok;
}

void AdminSettingsPresenter::saveFailed() { ask("設定の保存に失敗しました", "設定保存の失敗", MessageIcon::Error); }

MessageAnswer AdminSettingsPresenter::ask(const std::string& text, const std::string& title, MessageIcon icon,
                                          MessageButtons buttons) {
    platform::MessageRequest m;
    m.owner = view_.handle();
    m.text = text;
    m.title = title;
    m.icon = icon;
    m.buttons = buttons;
    return context_.platform.messages.show(m);
}

} // namespace tidemark::monitor
