// The main program's life: start-up, the one-second and one-minute ticks of
// the numeric window's timers, the hand-over from a second start, and exit.
#pragma once
#include <string>
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor::lifecycle {

inline constexpr const char* kInstanceName = "Tidemark";
inline constexpr const char* kStartupArgument = "stup";

enum class StartOutcome { Ended, Running };

// The start-up procedure. Ended: the process is to end now (wrong system,
// or a second copy that handed over); Running: the timers are started.
StartOutcome start(MonitorContext& c);

// Shows the status window of the user's style in place of the other one.
void applyWindowStyle(MonitorContext& c);
// A second start asked for the tray icon to be shown again.
void checkIconRequest(MonitorContext& c);
void refreshTrayIcon(MonitorContext& c);
void onSecondTick(MonitorContext& c);
void onMinuteTick(MonitorContext& c);
// The short timer that runs while a cleaning of this copy does.
void onCleaningWatchTick(MonitorContext& c);
// The tray's clean-now command.
void cleanNow(MonitorContext& c);
// Unloading the numeric window: stop, remove the icon, give the right back.
void shutDown(MonitorContext& c);

// The command line after the program's name, without the blanks before it.
std::string argumentText(const std::string& commandLine);

// Runs a timer's tick unless the same timer's tick is still running (a
// message box opened by a tick keeps dispatching timer messages).
class TickGuard {
public:
    template <class F>
    void run(F&& tick) {
        if (running_) return;
        running_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{running_};
        tick();
    }
    bool running() const { return running_; }

private:
    bool running_ = false;
};

} // namespace tidemark::monitor::lifecycle
