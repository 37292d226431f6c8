// The administrator settings window, FrmAdmFx: system start, the process
// watch and the cleaning form, each written at once. Removing system start
// runs Jobsmith and waits for its exit code on the window's timer.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "monitor/core/MonitorContext.h"
#include "monitor/windows/admin/AdminSettingsView.h"
#include "platform/SystemRestart.h"

namespace tidemark::monitor {

inline constexpr const char* kSystemStartTaskName = "Quillon Kestrel SYSTEM Start Task.job";

// Jobsmith's answers that mean the task is gone.
inline constexpr std::uint32_t kJobsmithDone = 0;
inline constexpr std::uint32_t kJobsmithNotFound = 0x80070002;

// The windows this one opens modally.
struct AdminChildren {
    // The password dialog of the system-start registration; true when system
    // start stays chosen. Empty until that dialog exists: the box is cleared.
    std::function<bool()> registerSystemStart;
    std::function<void()> editProcessWatch;   // the process watch settings window
    std::function<void()> editSlowCleaning;   // the slow cleaning window
};

class AdminSettingsPresenter {
public:
    static constexpr unsigned kPollMs = 250;

    AdminSettingsPresenter(MonitorContext& context, AdminSettingsView& view, platform::SystemRestart& restart,
                           AdminChildren children);

    // The tray menu's item: created and shown, or brought to the front.
    void open();
    bool isOpen() const { return context_.state.windows.adminOpen; }
    bool removingSystemStart() const { return removal_ != nullptr; }

    // Events of the window.
    void onFocus(AdminControl control);
    void onSystemStartClicked(bool checked);
    void onWatchClicked(bool checked);
    void onFastSelected();
    void onSlowSelected();
    void onSlowSettingsClicked();
    void onWatchSettingsClicked();
    void onTimer();
    // The frame's close box; refused while Jobsmith runs.
    void onClose();

private:
    void create();
    void selectForm(bool slow);
    void finishRemoval(std::uint32_t exitCode);
    void showRemovalFailure(std::uint32_t code);
    void showRecommendation();
    void runChild(const std::function<void()>& child);
    bool write(const char* keyName, const std::string& value);
    void saveFailed();
    platform::MessageAnswer ask(const std::string& text, const std::string& title, platform::MessageIcon icon,
                                platform::MessageButtons buttons = platform::MessageButtons::Ok);

    MonitorContext& context_;
    AdminSettingsView& view_;
    platform::SystemRestart& restart_;
    AdminChildren children_;
    bool suppressClicks_ = false;
    bool systemStart_ = false;
    bool watch_ = false;
    bool slow_ = false;
    std::unique_ptr<platform::RunningProgram> removal_;
};

} // namespace tidemark::monitor
