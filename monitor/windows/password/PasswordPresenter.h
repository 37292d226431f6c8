// The system-start registration: the password dialog (frmPasIn) and its
// wait window (frmPsPrg). The password is proved by a test task that runs
// Corvid "PassTest" under the account within 75 seconds; only then is the
// system-start task created and a restart offered. Every Jobsmith run is
// awaited on a window's timer and judged by its exit code.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "monitor/core/MonitorContext.h"
#include "monitor/windows/password/PasswordView.h"
#include "monitor/windows/password/SystemStartTasks.h"
#include "platform/SystemRestart.h"

namespace tidemark::monitor {

enum class PasswordStage {
    entry,                   // typing the password
    deletingOldTest,         // Jobsmith deletes an earlier test task
    testStarting,            // Jobsmith creates the test task
    watching,                // the wait window watches "PassTest"
    deletingOldSystemTask,   // Jobsmith deletes an earlier system-start task
    creating,                // Jobsmith creates the system-start task
    closed,
};

class PasswordPresenter {
public:
    static constexpr unsigned kTickMs = 1000;
    static constexpr int kWatchTicks = 75;
    // A run of Jobsmith takes seconds (one call to the scheduler): one that
    // has not ended after this is ended and taken as failed.
    static constexpr std::uint64_t kRunLimitMs = 60000;
    // The exit codes of a run ended by the dialog: HRESULTs of the time-out
    // and of the cancellation, neither a success.
    static constexpr std::uint32_t kRunTimedOut = 0x800705B4;
    static constexpr std::uint32_t kRunCancelled = 0x800704C7;

    PasswordPresenter(MonitorContext& context, PasswordView& view, PasswordWaitView& waitView,
                      platform::SystemRestart& restart);

    // Opened modally from the administrator window. True when the
    // system-start task was created.
    bool showModal();
    // The tray's request while the dialog is open: the window in front of
    // the two to the front.
    void bringToFront();
    PasswordStage stage() const { return stage_; }

    // Events of the dialog.
    void load();
    void onFocused(PasswordBox box);
    void onEnter(PasswordBox box);
    void onShowPasswordClicked(bool checked);
    void onCancel();                 // キャンセル, Esc or the close box; a run of Jobsmith is ended
    void onTimer();

    // Events of the wait window.
    void loadWait();
    void onWaitTimer();
    // Esc or the close box: ends a run of Jobsmith; the password test's
    // watch is not left, it runs out by itself.
    void onWaitCloseRequested();

private:
    void check();
    bool startJobsmith(const std::string& parameters, const std::string& input, PasswordStage next);
    std::optional<std::uint32_t> finishedRun();
    void endRun(std::uint32_t code);
    void testFailed();
    void systemStartFailed();
    void wrongPassword();
    void closeDialog();
    platform::MessageAnswer ask(platform::NativeWindow owner, const std::string& text, const std::string& title,
                                platform::MessageIcon icon,
                                platform::MessageButtons buttons = platform::MessageButtons::Ok);

    MonitorContext& context_;
    PasswordView& view_;
    PasswordWaitView& waitView_;
    platform::SystemRestart& restart_;
    PasswordStage stage_ = PasswordStage::closed;
    bool secondFocused_ = false;     // the second box had the focus last
    bool waitOpen_ = false;
    bool registered_ = false;
    bool restartWanted_ = false;
    int ticks_ = 0;
    std::uint64_t runStartedMs_ = 0;
    systemstart::SecretText password_;
    std::unique_ptr<platform::RunningProgram> run_;
};

} // namespace tidemark::monitor
