// The Win32 shell of the main program: the two status windows (modeless
// dialogs, created hidden), their timers, the tray icon and its menu, the
// graph painting and the About window. The logic lives in the portable
// modules; this class only turns their requests into windows and forwards
// window events to them.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "monitor/core/MonitorContext.h"
#include "monitor/core/SubMain.h"
#include "monitor/windows/GraphModel.h"
#include "monitor/windows/TrayIconChoice.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"

namespace tidemark::monitor {

class TidemarkApp final : public MonitorUi {
public:
    explicit TidemarkApp(HINSTANCE instance);
    ~TidemarkApp() override;
    TidemarkApp(const TidemarkApp&) = delete;
    TidemarkApp& operator=(const TidemarkApp&) = delete;

    // Start-up, then the message loop until the program is closed.
    int run();

    // MonitorUi.
    void setText(StatusWindow window, StatusControl control, const std::string& text) override;
    void setTooltip(StatusWindow window, StatusControl control, const std::string& text) override;
    void createStatusWindows() override;
    void startTimers() override;
    void stopMainTimers() override;
    void destroyStatusWindows() override;
    bool isVisible(StatusWindow window) override;
    void hide(StatusWindow window) override;
    void disableAdministratorMenu() override;
    bool addTaskTrayIcon() override;
    void delTaskTrayIcon() override;
    void ResetTrayIcons() override;
    void refreshTrayImage() override;
    void CheckTrayRestart() override;
    void ToggleSimpleWindow() override;
    void ToggleGraphWindow() override;
    void closeSettingsWindow() override;
    void bringSettingsWindowToFront() override;
    void showSettingsWindowModal() override;
    void beep() override;

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id);
    void onTrayCallback(LPARAM mouseMessage);
    void onGraphTimer();
    void showTrayMenu();
    void showAbout();
    void toggle(HWND window, bool graphWindow);
    void placeAtTopRight(HWND window);
    void sizeClientArea(HWND dialog);
    void drawGraphItem(const DRAWITEMSTRUCT& item);
    void renderGraph(int gridColour);
    void paintGraphBitmap();
    bool notify(DWORD action, bool withTip);
    HICON iconFor(TrayImage image);
    HWND windowOf(StatusWindow window) const;
    HWND tooltipsOf(HWND dialog) const;
    int dpiOf(HWND window) const;
    void exitProgram();

    HINSTANCE instance_;
    win32::Win32Platform system_;
    MonitorState state_;
    MonitorContext context_;
    GraphModel graph_;
    SubMain::TickGuard minuteGuard_, secondGuard_, graphGuard_;

    HWND simple_ = nullptr;
    HWND graphWindow_ = nullptr;
    HWND simpleTips_ = nullptr;
    HWND graphTips_ = nullptr;
    HICON programIcon_ = nullptr;
    std::map<TrayImage, HICON> statusIcons_;
    TrayImage lngIconHandle_ = TrayImage::None;
    TrayImage lngLastIconHandle_ = TrayImage::None;
    bool hideItemVisible_ = true;
    bool showItemVisible_ = true;
    bool adminItemEnabled_ = true;
    UINT taskbarCreated_ = 0;
    std::map<std::pair<StatusWindow, StatusControl>, std::string> shownTexts_, shownTooltips_;
    std::vector<GraphLine> graphLines_;   // the last frame
    HBITMAP graphBitmap_ = nullptr;
    SIZE graphSize_{0, 0};
    HWND aboutDialog_ = nullptr;
    bool running_ = false;
};

} // namespace tidemark::monitor
