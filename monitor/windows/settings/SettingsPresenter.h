// The settings window, FrmFix: the cleaner's trigger and cleaning size
// (administrators only), the start-up shortcuts, the always-active tray icon
// and the status window's style, each stored as it is changed.
#pragma once
#include <optional>
#include <string>

#include "monitor/core/MonitorContext.h"
#include "monitor/windows/settings/SettingsView.h"

namespace tidemark::monitor {

class SettingsPresenter {
public:
    SettingsPresenter(MonitorContext& context, SettingsView& view);

    bool isOpen() const { return context_.state.windows.settingsOpen; }
    // From the tray menu and the status windows: opened without blocking,
    // or brought to the front when it is open.
    void open();
    // From the cleaner when the physical memory changed: opened modally.
    void openModal();
    void bringToFront();
    // At the program's exit.
    void close();

    // Events of the window.
    void onClosed();
    void onAutoClicked();
    void onDecideClicked();
    // A check box the user ticked or cleared.
    void onCheckClicked(SettingsControl box, bool ticked);
    // An option button the user selected.
    void onOptionSelected(SettingsControl option);
    // A character typed into a figure box; false: it is discarded.
    bool onCharacterTyped(SettingsControl box, std::uint32_t code);
    void onFocused(SettingsControl control);

private:
    void load();
    void placeWindow();
    void showStoredChoices();
    void onStartupClicked(bool allUsers, bool ticked);
    void onAllUsersIconClicked(bool ticked);
    void onUserIconClicked(bool ticked);
    std::optional<std::int64_t> decideTrigger(std::vector<std::string>& notices);
    std::int64_t decideSize(std::vector<std::string>& notices);
    bool storeCleanerValues(std::int64_t trigger, std::int16_t sizeMB);

    platform::MessageAnswer box(const std::string& title, const std::string& text, platform::MessageIcon icon,
                                platform::MessageButtons buttons = platform::MessageButtons::Ok);
    void tellNotRemembered();
    void tellSaveFailed();
    std::string readShared(const char* section, const std::string& key);
    std::string readUser(const char* section, const std::string& key);

    MonitorContext& context_;
    SettingsView& view_;
    int shownStyle_ = -1;   // the option button selected on screen
};

} // namespace tidemark::monitor
