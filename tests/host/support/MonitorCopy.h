// One copy of the main program running for one user on the simulated
// machine, with windows that only record what they are told.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "monitor/core/MonitorContext.h"
#include "monitor/core/MonitorLifecycle.h"
#include "platform/sim/SimProcess.h"

namespace tidemark::testing {

class RecordingUi final : public monitor::MonitorUi {
public:
    using Key = std::pair<monitor::StatusWindow, monitor::StatusControl>;
    std::map<Key, std::string> texts, tooltips;
    bool visible[2] = {false, false};
    bool windowsCreated = false, timersRunning = false, adminMenuDisabled = false, watchingCleaning = false;
    bool trayAccepts = true;
    int trayAdds = 0, trayDeletes = 0, trayResets = 0, imageRefreshes = 0, restartChecks = 0;
    int simpleToggles = 0, graphToggles = 0, settingsShown = 0, settingsFronted = 0, beeps = 0;

    std::string text(monitor::StatusWindow w, monitor::StatusControl c) const {
        const auto it = texts.find({w, c});
        return it == texts.end() ? std::string("(unset)") : it->second;
    }
    std::string tooltip(monitor::StatusWindow w, monitor::StatusControl c) const {
        const auto it = tooltips.find({w, c});
        return it == tooltips.end() ? std::string("(unset)") : it->second;
    }

    void setText(monitor::StatusWindow w, monitor::StatusControl c, const std::string& t) override { texts[{w, c}] = t; }
    void setTooltip(monitor::StatusWindow w, monitor::StatusControl c, const std::string& t) override {
        tooltips[{w, c}] = t;
    }
    void createStatusWindows() override { windowsCreated = true; }
    void startTimers() override { timersRunning = true; }
    void stopMainTimers() override { timersRunning = false; }
    void watchCleaning(bool on) override { watchingCleaning = on; }
    void destroyStatusWindows() override { windowsCreated = false; }
    bool isVisible(monitor::StatusWindow w) override { return visible[static_cast<int>(w)]; }
    void hide(monitor::StatusWindow w) override { visible[static_cast<int>(w)] = false; }
    void disableAdministratorMenu() override { adminMenuDisabled = true; }
    bool addTrayIcon() override {
        ++trayAdds;
        return trayAccepts;
    }
    void removeTrayIcon() override { ++trayDeletes; }
    void resetTrayIcons() override { ++trayResets; }
    void refreshTrayImage() override { ++imageRefreshes; }
    void checkTrayRestart() override { ++restartChecks; }
    void toggleSimpleWindow() override {
        ++simpleToggles;
        visible[0] = !visible[0];
    }
    void toggleGraphWindow() override {
        ++graphToggles;
        visible[1] = !visible[1];
    }
    void closeSettingsWindow() override {}
    void bringSettingsWindowToFront() override { ++settingsFronted; }
    void showSettingsWindowModal() override { ++settingsShown; }
    void beep() override { ++beeps; }
};

struct MonitorCopy {
    MonitorCopy(sim::SimMachine& machine, const std::string& user, const std::string& arguments = {})
        : process(std::make_unique<sim::SimProcess>(machine, user, "Tidemark.exe", arguments)),
          context{process->platform(), state, ui} {}

    monitor::lifecycle::StartOutcome start() { return monitor::lifecycle::start(context); }
    void minuteTick() { minuteGuard.run([&] { monitor::lifecycle::onMinuteTick(context); }); }
    void secondTick() { secondGuard.run([&] { monitor::lifecycle::onSecondTick(context); }); }
    void cleaningWatchTick() { monitor::lifecycle::onCleaningWatchTick(context); }
    // The library ends its cleaning, and the copy's short timer sees it.
    void finishCleaning() {
        process->ramhold.finish();
        cleaningWatchTick();
    }
    void cleanNow() { monitor::lifecycle::cleanNow(context); }
    void exit() { monitor::lifecycle::shutDown(context); }

    std::unique_ptr<sim::SimProcess> process;
    monitor::MonitorState state;
    RecordingUi ui;
    monitor::MonitorContext context;
    monitor::lifecycle::TickGuard minuteGuard, secondGuard;
};

} // namespace tidemark::testing
