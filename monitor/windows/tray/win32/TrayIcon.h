// The Win32 view of the tray icon and its menu: the shell's notification
// icon owned by frmSimple, its pictures at the size the shell asks for the
// window's DPI, and the pop-up menu.
#pragma once
#include <map>
#include <optional>

#include "monitor/windows/tray/TrayPresenter.h"
#include "monitor/windows/tray/TrayView.h"
#include "monitor/windows/win32/OwnerWindow.h"
#include "platform/win32/GdiHandles.h"

namespace tidemark::monitor {

// The tray callback's event: lParam's low word (the icon's ID, 0, in its
// high word under version 4; the mouse message whole before it). The anchor
// of a version-4 callback: screen coordinates in wParam. The menu's command
// IDs.
TrayMouse trayMouseOf(LPARAM lParam);
PixelPoint trayAnchorOf(WPARAM wParam);
std::optional<TrayCommand> trayCommandOf(int id);

class Win32TrayView final : public TrayView, public OwnedMessages {
public:
    Win32TrayView(HINSTANCE instance, const OwnerWindow& owner);
    void attach(TrayPresenter& presenter) { presenter_ = &presenter; }

    bool addIcon(TrayImage image, const std::string& tip) override { return notify(NIM_ADD, image, tip); }
    bool modifyIcon(TrayImage image, const std::string& tip) override { return notify(NIM_MODIFY, image, tip); }
    void deleteIcon() override;
    bool useVersion4() override;
    void releaseImages() override { icons_.clear(); }
    platform::NativeWindow findTaskbar() override;
    void popUpMenu(const std::vector<TrayMenuItem>& items, std::optional<PixelPoint> anchor) override;
    void beep() override { ::MessageBeep(MB_OK); }

    // The tray's callback, the shell's restart and the menu's commands,
    // which arrive at the owner.
    bool onOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool notify(DWORD action, TrayImage image, const std::string& tip);
    HICON iconFor(TrayImage image);
    void giveFocusBack(HWND before);

    HINSTANCE instance_;
    const OwnerWindow& owner_;
    TrayPresenter* presenter_ = nullptr;
    UINT taskbarCreated_ = 0;
    std::map<TrayImage, win32::UniqueIcon> icons_;
    int iconsDpi_ = 0;
};

} // namespace tidemark::monitor
