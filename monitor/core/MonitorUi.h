// What the monitor's logic asks of its windows: labels and tooltips of the
// two status windows, the tray icon, the windows' visibility, the menu and
// the timers. The Win32 shell implements it with real windows; tests record.
#pragma once
#include <string>

namespace tidemark::monitor {

enum class StatusWindow { Simple, Graph };

enum class StatusControl {
    MemoryLoad,       // "メモリー使用率" figure
    TotalMemory,      // total physical memory figure
    FreeMemory,       // free physical memory figure
    LastRunCaption,   // caption of the last-run line
    LastRunText,      // last-run text
    FreedCaption,     // caption of the last cleaning's result ("前回の解放量")
    FreedText,        // the last cleaning's result
    NumbersFrame,     // frame of the numeric window
    Graph,            // graph box
    UsedMemory,       // used memory beside the graph
    SettingsButton,   // 設定 of either window
    HideButton,       // 隠す of either window
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
    // A short timer that watches a cleaning of this copy to its end, on
    // while one runs.
    virtual void watchCleaning(bool on) = 0;
    virtual void stopMainTimers() = 0;
    virtual void destroyStatusWindows() = 0;
    virtual bool isVisible(StatusWindow window) = 0;
    virtual void hide(StatusWindow window) = 0;
    virtual void disableAdministratorMenu() = 0;

    // The tray icon.
    virtual bool addTrayIcon() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void resetTrayIcons() = 0;
    // Chooses the image for the current figures and gives it to the shell
    // when it differs from the last one given.
    virtual void refreshTrayImage() = 0;
    virtual void checkTrayRestart() = 0;
    virtual void toggleSimpleWindow() = 0;
    virtual void toggleGraphWindow() = 0;

    // The settings window (opened when the physical memory changed).
    virtual void closeSettingsWindow() = 0;
    virtual void bringSettingsWindowToFront() = 0;
    virtual void showSettingsWindowModal() = 0;

    virtual void beep() = 0;
};

} // namespace tidemark::monitor
