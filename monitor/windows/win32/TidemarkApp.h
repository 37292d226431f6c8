// The main program as an object: the platform, the program's state, the
// windows' views and the presenters composed over them, and the one message
// loop.
#pragma once
#include "monitor/windows/MonitorWindows.h"
#include "monitor/windows/about/win32/AboutDialog.h"
#include "monitor/windows/win32/AdminWindows.h"
#include "monitor/windows/win32/ModelessDialogs.h"
#include "monitor/windows/settings/win32/SettingsWindow.h"
#include "monitor/windows/status/win32/StatusWindow.h"
#include "monitor/windows/tray/win32/TrayIcon.h"
#include "platform/win32/Win32Platform.h"

namespace tidemark::monitor {

class TidemarkApp {
public:
    explicit TidemarkApp(HINSTANCE instance);
    ~TidemarkApp();
    TidemarkApp(const TidemarkApp&) = delete;
    TidemarkApp& operator=(const TidemarkApp&) = delete;

    // Start-up, then the message loop until the program is closed.
    int run();

private:
    win32::Win32Platform system_;
    MonitorState state_;
    ModelessDialogs dialogs_;
    Win32StatusWindow simpleView_, graphView_;
    Win32TrayView trayView_;
    Win32AboutDialog aboutView_;
    Win32SettingsWindow settingsView_;
    bool running_ = false;
    MonitorWindows windows_;
    AdminWindows admin_;
};

} // namespace tidemark::monitor
