// The tray icon and its menu, owned by frmSimple: the icon's picture and
// registration, what a click on it does in each state, the menu's items as
// they stand, and what each item and each status window's button does.
#pragma once
#include <functional>
#include <vector>

#include "monitor/core/MonitorState.h"
#include "monitor/core/MonitorUi.h"
#include "monitor/windows/tray/TrayView.h"
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
    std::function<void()> cleanNow;              // a cleaning now, in the copy that holds the right
};

// A status window as the tray shows and hides it.
class TrayStatusWindow {
public:
    virtual ~TrayStatusWindow() = default;
    virtual StatusWindow which() const = 0;
    virtual void placeAtTopRight() = 0;
    virtual bool isVisible() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
};

// The About window as the tray opens it and brings it forward.
class TrayAboutWindow {
public:
    virtual ~TrayAboutWindow() = default;
    virtual bool isOpen() const = 0;
    virtual void focusOk() = 0;
    virtual void showModal() = 0;
};

class TrayPresenter {
public:
    // How often start-up looks for the taskbar while there is none.
    static constexpr unsigned kTaskbarPollMs = 100;

    TrayPresenter(MonitorState& state, platform::Clock& clock, TrayView& view, TrayStatusWindow& simple,
                  TrayStatusWindow& graph, TrayAboutWindow& about, TrayActions actions);

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

    // The shell's callback; anchor: the point it gives for the context menu
    // (version 4). The notifications act; the mouse messages only where the
    // shell did not grant version 4.
    void onTrayCallback(TrayMouse mouse, std::optional<PixelPoint> anchor = std::nullopt);
    void showTrayMenu(std::optional<PixelPoint> anchor = std::nullopt);
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
    bool version4() const { return version4_; }

private:
    void selectImage();
    std::string tipText() const;
    void toggle(TrayStatusWindow& window);

    MonitorState& state_;
    platform::Clock& clock_;
    TrayView& view_;
    TrayStatusWindow& simple_;
    TrayStatusWindow& graph_;
    TrayAboutWindow& about_;
    TrayActions actions_;
    TrayImage image_ = TrayImage::None;
    TrayImage lastImage_ = TrayImage::None;
    std::string lastLine_;   // the cleaning line the shell was last given
    bool hideItemVisible_ = true;
    bool showItemVisible_ = true;
    bool adminItemEnabled_ = true;
    bool version4_ = false;
};

} // namespace tidemark::monitor
