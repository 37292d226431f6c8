#include "monitor/windows/MonitorWindows.h"

#include <utility>

namespace tidemark::monitor {

MonitorWindows::MonitorWindows(platform::Platform& platform, MonitorState& state, MonitorViews views,
                               std::function<void()> ended)
    : views_(views), ended_(std::move(ended)), context_{platform, state, *this}, about_(context_, views.about),
      settings_(context_, views.settings), simple_(StatusWindow::Simple, platform, state, views.simple, *this),
      graph_(StatusWindow::Graph, platform, state, views.graph, *this),
      tray_(state, platform.clock, views.tray, traySimple_, trayGraph_, trayAbout_,
            TrayActions{[this] { lifecycle::shutDown(context_); }, [this] { settings_.open(); },
                        [this] { settings_.bringToFront(); }, [this] { openAdmin(); }, [this] { openAdmin(); },
                        [this] {
                            if (focusPasswordWindow) focusPasswordWindow();
                        },
                        [this] { lifecycle::cleanNow(context_); }}) {}

void MonitorWindows::openAdmin() {
    if (openAdminSettings) openAdminSettings();
}

void MonitorWindows::setText(StatusWindow w, StatusControl control, const std::string& text) {
    window(w).setText(control, text);
}

void MonitorWindows::setTooltip(StatusWindow w, StatusControl control, const std::string& text) {
    window(w).setTooltip(control, text);
}

void MonitorWindows::createStatusWindows() {
    graph_.load();
    simple_.load();
    context_.state.mainWindow = views_.simple.handle();
    tray_.waitForTaskbar();
}

void MonitorWindows::startTimers() {
    graph_.startTimers();
    simple_.startTimers();
}

void MonitorWindows::stopMainTimers() { simple_.stopTimers(); }

void MonitorWindows::destroyStatusWindows() {
    graph_.unload();
    simple_.unload();
    if (ended_) ended_();
}

bool MonitorWindows::isVisible(StatusWindow w) { return window(w).isVisible(); }

void MonitorWindows::hide(StatusWindow w) { window(w).hide(); }

void MonitorWindows::statusTimer(StatusWindow w, StatusTimer timer) {
    // A message box opened by a tick keeps dispatching timer messages: a
    // tick never starts while the same timer's tick still runs.
    if (w == StatusWindow::Graph) {
        graphGuard_.run([&] { graph_.onGraphTimer(); });
    } else if (timer == StatusTimer::Timer1) {
        minuteGuard_.run([&] { lifecycle::onMinuteTick(context_); });
    } else if (timer == StatusTimer::CleaningWatch) {
        cleaningGuard_.run([&] { lifecycle::onCleaningWatchTick(context_); });
    } else {
        secondGuard_.run([&] { lifecycle::onSecondTick(context_); });
    }
}

} // namespace tidemark::monitor
