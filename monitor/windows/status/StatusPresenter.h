// One status window, frmSimple or frmGraph: its texts, its place at the
// top-right of the work area, showing and hiding, its buttons and timers,
// and for frmGraph the graph's samples and frames.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "monitor/core/MonitorState.h"
#include "monitor/windows/status/GraphModel.h"
#include "monitor/windows/status/StatusView.h"
#include "platform/Platform.h"

namespace tidemark::monitor {

// Where a status window's buttons and timers lead: the owner of both
// windows (the tray, for the buttons; the main loop, for the timers).
class StatusEvents {
public:
    virtual ~StatusEvents() = default;
    virtual void statusHideRequested() = 0;   // 隠す, Esc or the close box of either window
    virtual void statusFixRequested() = 0;    // 設定 of either window
    virtual void statusTimer(StatusWindow window, StatusTimer timer) = 0;
};

class StatusPresenter {
public:
    StatusPresenter(StatusWindow which, platform::Platform& platform, MonitorState& state, StatusView& view,
                    StatusEvents& events);

    StatusWindow which() const { return which_; }
    StatusView& view() { return view_; }

    // Created hidden, with its fixed tooltips; destroyed at exit.
    void load();
    void unload();
    // frmSimple: Timer1 every minute and Timer2 every second; frmGraph:
    // Timer1 every second.
    void startTimers();
    void stopTimers();
    // The short timer that watches a cleaning to its end.
    static constexpr unsigned kCleaningWatchMs = 100;
    void watchCleaning(bool on);

    // Texts and tooltips reach the window only when they change.
    void setText(StatusControl control, const std::string& text);
    void setTooltip(StatusControl control, const std::string& text);

    bool isVisible();
    void hide();
    // Shown in front with the focus (and, for the graph, its last frame).
    void show();
    void placeAtTopRight();

    // Events of the window.
    void onHideClicked() { events_.statusHideRequested(); }
    void onSettingsClicked() { events_.statusFixRequested(); }
    void onEscape() { events_.statusHideRequested(); }
    void onCloseBox() { events_.statusHideRequested(); }
    void onTimer(StatusTimer timer) { events_.statusTimer(which_, timer); }
    // The window moved to a monitor of another DPI (or was re-laid out).
    void onDpiChanged();
    // A high-contrast theme was switched on or off, or the system's colours
    // changed: the graph is drawn again in the colours that now apply.
    void onColoursChanged();

    // frmGraph's Timer1: the used memory, one sample, one frame.
    void onGraphTimer();
    const GraphModel& graph() const { return graph_; }

private:
    void drawLastFrame();

    StatusWindow which_;
    platform::Platform& platform_;
    MonitorState& state_;
    StatusView& view_;
    StatusEvents& events_;
    std::map<StatusControl, std::string> texts_, tooltips_;
    GraphModel graph_;
    std::vector<GraphLine> lastFrame_;
    bool watchingCleaning_ = false;
    GraphColours colours_ = graphColours({});
};

} // namespace tidemark::monitor
