// The monitor's windows as the rest of the program sees them: MonitorUi
// composed of the tray's, the two status windows' and the About window's
// presenters, each talking to its own view. It also routes the status
// windows' timers to the ticks of the main program.
#pragma once
#include <functional>

#include "monitor/core/MonitorContext.h"
#include "monitor/core/MonitorLifecycle.h"
#include "monitor/windows/about/AboutPresenter.h"
#include "monitor/windows/settings/SettingsPresenter.h"
#include "monitor/windows/status/StatusPresenter.h"
#include "monitor/windows/tray/TrayPresenter.h"

namespace tidemark::monitor {

struct MonitorViews {
    TrayView& tray;
    StatusView& simple;
    StatusView& graph;
    AboutView& about;
    SettingsView& settings;
};

class MonitorWindows final : public MonitorUi, private StatusEvents {
public:
    // ended: called once the status windows are gone at exit.
    MonitorWindows(platform::Platform& platform, MonitorState& state, MonitorViews views,
                   std::function<void()> ended = {});
    MonitorWindows(const MonitorWindows&) = delete;
    MonitorWindows& operator=(const MonitorWindows&) = delete;

    MonitorContext& context() { return context_; }
    // The administrator window: shown, or brought to the front when open.
    std::function<void()> openAdminSettings;
    // The open password dialog of the system-start registration to the front.
    std::function<void()> focusPasswordWindow;
    TrayPresenter& tray() { return tray_; }
    StatusPresenter& window(StatusWindow w) { return w == StatusWindow::Simple ? simple_ : graph_; }
    AboutPresenter& about() { return about_; }
    // The status and About windows as the tray reaches them.
    TrayStatusWindow& statusForTray(StatusWindow w) { return w == StatusWindow::Simple ? traySimple_ : trayGraph_; }
    TrayAboutWindow& aboutForTray() { return trayAbout_; }
    SettingsPresenter& settings() { return settings_; }

    // MonitorUi.
    void setText(StatusWindow window, StatusControl control, const std::string& text) override;
    void setTooltip(StatusWindow window, StatusControl control, const std::string& text) override;
    void createStatusWindows() override;
    void startTimers() override;
    void stopMainTimers() override;
    void watchCleaning(bool on) override { simple_.watchCleaning(on); }
    void destroyStatusWindows() override;
    bool isVisible(StatusWindow window) override;
    void hide(StatusWindow window) override;
    void disableAdministratorMenu() override { tray_.disableAdministratorMenu(); }
    bool addTrayIcon() override { return tray_.addTrayIcon(); }
    void removeTrayIcon() override { tray_.removeTrayIcon(); }
    void resetTrayIcons() override { tray_.resetTrayIcons(); }
    void refreshTrayImage() override { tray_.refreshTrayImage(); }
    void checkTrayRestart() override { tray_.checkTrayRestart(); }
    void toggleSimpleWindow() override { tray_.toggleSimpleWindow(); }
    void toggleGraphWindow() override { tray_.toggleGraphWindow(); }
    void closeSettingsWindow() override { settings_.close(); }
    void bringSettingsWindowToFront() override { settings_.bringToFront(); }
    void showSettingsWindowModal() override { settings_.openModal(); }
    void beep() override { views_.tray.beep(); }

private:
    // What the tray reaches of the status and About windows.
    class TrayStatus final : public TrayStatusWindow {
    public:
        explicit TrayStatus(StatusPresenter& window) : window_(window) {}
        StatusWindow which() const override { return window_.which(); }
        void placeAtTopRight() override { window_.placeAtTopRight(); }
        bool isVisible() override { return window_.isVisible(); }
        void show() override { window_.show(); }
        void hide() override { window_.hide(); }

    private:
        StatusPresenter& window_;
    };
    class TrayAbout final : public TrayAboutWindow {
    public:
        explicit TrayAbout(AboutPresenter& about) : about_(about) {}
        bool isOpen() const override { return about_.isOpen(); }
        void focusOk() override { about_.focusOk(); }
        void showModal() override { about_.showModal(); }

    private:
        AboutPresenter& about_;
    };

    // StatusEvents.
    void statusHideRequested() override { tray_.toggleStatusWindow(); }
    void statusFixRequested() override { tray_.openSettings(); }
    void statusTimer(StatusWindow window, StatusTimer timer) override;
    void openAdmin();

    MonitorViews views_;
    std::function<void()> ended_;
    MonitorContext context_;
    lifecycle::TickGuard minuteGuard_, secondGuard_, graphGuard_, cleaningGuard_;
    AboutPresenter about_;
    SettingsPresenter settings_;
    StatusPresenter simple_, graph_;
    TrayStatus traySimple_{simple_}, trayGraph_{graph_};
    TrayAbout trayAbout_{about_};
    TrayPresenter tray_;
};

} // namespace tidemark::monitor
