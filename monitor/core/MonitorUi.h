// What the monitor's logic asks of its windows: labels and tooltips of the
// two status windows, the tray icon, the windows' visibility, the menu and
// the timers. The Win32 shell implements it with real windows; tests record.
#pragma once
#include <string>

namespace tidemark::monitor {

enum class StatusWindow { Simple, Graph };

enum class StatusControl {
    Label1_1,   // memory load
    Label2_1,   // total physical memory
    Label3_1,   // free physical memory
    Label4_0,   // caption of the last-run line
    Label4_1,   // last-run text
    Frame1,     // frame of the numeric window
    PictGraph,  // graph box
    lblUseMem,  // used memory beside the graph
    cmdFix,     // the settings button of either window
    cmdHide,    // the hide button of either window
};

class MonitorUi {
public:
    virtual ~MonitorUi() = default;

    virtual void setText(StatusWindow window, StatusControl control, const std::string& text) = 0;
    virtual void setTooltip(StatusWindow window, StatusControl control, const std::string& text) = 0;

    // Creates both status windows hidden (the graph window first), waiting
    // for the taskbar to exist; their timers stay stopped.
    virtual void createStatusWindows() = 0;
    virtual void startTimers() = 0;
    virtual void stopMainTimers() = 0;
    virtual void destroyStatusWindows() = 0;
    virtual bool isVisible(StatusWindow window) = 0;
    virtual void hide(StatusWindow window) = 0;
    virtual void disableAdministratorMenu() = 0;

    // The tray icon.
    virtual bool addTaskTrayIcon() = 0;
    virtual void delTaskTrayIcon() = 0;
    virtual void ResetTrayIcons() = 0;
    // Chooses the image for the current figures and gives it to the shell
    // when it differs from the last one given.
    virtual void refreshTrayImage() = 0;
    virtual void CheckTrayRestart() = 0;
    virtual void ToggleSimpleWindow() = 0;
    virtual void ToggleGraphWindow() = 0;

    // The settings window (opened when the physical memory changed).
    virtual void closeSettingsWindow() = 0;
    virtual void bringSettingsWindowToFront() = 0;
    virtual void showSettingsWindowModal() = 0;

    virtual void beep() = 0;
};

} // namespace tidemark::monitor
