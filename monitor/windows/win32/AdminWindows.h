// The administrator window and the windows it opens (process watch, slow
// cleaning, the system-start password and its wait): their
// views, their presenters and the restart they may ask for, as the main
// program holds them.
#pragma once
#include "monitor/core/MonitorContext.h"
#include "monitor/windows/admin/AdminSettingsPresenter.h"
#include "monitor/windows/password/PasswordPresenter.h"
#include "monitor/windows/procwatch/ProcessWatchPresenter.h"
#include "monitor/windows/slowcleaning/SlowCleaningPresenter.h"
#include "monitor/windows/admin/win32/AdminSettingsWindow.h"
#include "monitor/windows/win32/ModelessDialogs.h"
#include "monitor/windows/password/win32/PasswordDialog.h"
#include "monitor/windows/procwatch/win32/ProcessWatchDialog.h"
#include "monitor/windows/slowcleaning/win32/SlowCleaningDialog.h"
#include "platform/win32/Win32SystemRestart.h"

namespace tidemark::monitor {

class AdminWindows {
public:
    AdminWindows(HINSTANCE instance, MonitorContext& context, ModelessDialogs& dialogs);
    ~AdminWindows() { adminView_.destroy(); }
    AdminWindows(const AdminWindows&) = delete;
    AdminWindows& operator=(const AdminWindows&) = delete;

    // The tray menu's 管理者設定: shown, or brought to the front.
    void open() { admin_.open(); }
    // The tray's request while the password dialog is open.
    void focusPassword() { password_.bringToFront(); }

private:
    win32::Win32SystemRestart restart_;
    Win32AdminSettingsWindow adminView_;
    Win32SlowCleaningDialog slowView_;
    SlowCleaningPresenter slow_;
    Win32ProcessWatchDialog watchView_;
    ProcessWatchPresenter watch_;
    Win32PasswordDialog passwordView_;
    Win32PasswordWaitWindow waitView_;
    PasswordPresenter password_;
    AdminSettingsPresenter admin_;
};

} // namespace tidemark::monitor
