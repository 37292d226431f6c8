// The Win32 view of the tray icon and its menu: the shell's notification
// icon owned by frmSimple, its pictures at the size the shell asks for the
// window's DPI, and the pop-up menu.
#pragma once
#include <map>
#include <optional>

#include "monitor/windows/TrayView.h"
#include "monitor/windows/win32/StatusWindow.h"
#include "platform/win32/GdiHandles.h"

namespace tidemark::monitor {

// The tray callback's mouse message (0x202 left button up, 0x204 right
// button down), and the menu's command IDs.
TrayMouse trayMouseOf(LPARAM mouseMessage);
std::optional<TrayCommand> trayCommandOf(int id);

class Win32TrayView final : public TrayView {
public:
    Win32TrayView(HINSTANCE instance, const Win32StatusWindow& owner) : instance_(instance), owner_(owner) {}

    bool addIcon(TrayImage image, const std::string& tip) override { return notify(NIM_ADD, image, tip); }
    bool modifyIcon(TrayImage image, const std::string& tip) override { return notify(NIM_MODIFY, image, tip); }
    void deleteIcon() override;
    void releaseImages() override { icons_.clear(); }
    platform::NativeWindow findTaskbar() override;
    void popUpMenu(const std::vector<TrayMenuItem>& items) override;
    void beep() override { ::MessageBeep(MB_OK); }

private:
    bool notify(DWORD action, TrayImage image, const std::string& tip);
    HICON iconFor(TrayImage image);

    HINSTANCE instance_;
    const Win32StatusWindow& owner_;
    std::map<TrayImage, win32::UniqueIcon> icons_;
    int iconsDpi_ = 0;
};

} // namespace tidemark::monitor
