// The tray icon and its menu, owned by frmSimple: the icon's picture and
// registration, what a click on it does in each state, the menu's items as
// they stand, and what each item and each status window's button does.
#pragma once
#include <functional>
#include <vector>

#include "monitor/core/MonitorState.h"
#include "monitor/windows/AboutPresenter.h"
#include "monitor/windows/StatusPresenter.h"
#include "monitor/windows/TrayView.h"
#include "platform/Clock.h"

namespace tidemark::monitor {

// What the tray's commands reach beyond the windows it toggles.
struct TrayActions {
    std::function<void()> close;                 // unload frmSimple: the program ends
    std::function<void()> showSettings;          // FrmFix, without blocking
    std::function<void()> frontSettings;         // the open FrmFix to the front
    std::function<void()> showAdminSettings;     // FrmAdmFx, without blocking
    std::function<void()> frontAdminSettings;    // the open FrmAdmFx to the front
    std::function<void()> focusPasswordWindow;   // the open password window to the front
};

class TrayPresenter {
public:
    // How often start-up looks for the taskbar while there is none.
    static constexpr unsigned kTaskbarPollMs = 100;

    TrayPresenter(MonitorState& state, platform::Clock& clock, TrayView& view, StatusPresenter& simple,
                  StatusPresenter& graph, AboutPresenter& about, TrayActions actions);

    // Start-up waits, without limit, until a taskbar exists.
    void waitForTaskbar();

    bool addTrayIcon();
    void modifyTrayIcon();
    void removeTrayIcon();
    void resetTrayIcons();
    void refreshTrayImage();
    void checkTrayRestart();
    // The shell's TaskbarCreated broadcast: it has forgotten every icon.
    void onTaskbarCreated();

    void onTrayCallback(TrayMouse mouse);
    void showTrayMenu();
    void menuCommand(TrayCommand command);
    std::vector<TrayMenuItem> menuItems() const;
    void disableAdministratorMenu() { adminItemEnabled_ = false; }

    void toggleSimpleWindow() { toggle(simple_); }
    void toggleGraphWindow() { toggle(graph_); }
    // The window display.windowStyle chooses.
    void toggleStatusWindow();
    // 設定 of either status window and the menu's 設定 item.
    void openSettings();

    TrayImage currentImage() const { return image_; }

private:
    void selectImage();
    void toggle(StatusPresenter& window);

    MonitorState& state_;
    platform::Clock& clock_;
    TrayView& view_;
    StatusPresenter& simple_;
    StatusPresenter& graph_;
    AboutPresenter& about_;
    TrayActions actions_;
    TrayImage image_ = TrayImage::None;
    TrayImage lastImage_ = TrayImage::None;
    bool hideItemVisible_ = true;
    bool showItemVisible_ = true;
    bool adminItemEnabled_ = true;
};

} // namespace tidemark::monitor
