// What the tray icon and its menu offer their presenter: the shell's icon
// calls, the taskbar's window, the pop-up menu and a beep.
#pragma once
#include <string>
#include <vector>

#include "monitor/windows/tray/TrayIconChoice.h"
#include "monitor/windows/tray/TrayMenu.h"
#include "platform/Display.h"

namespace tidemark::monitor {

// The mouse messages a tray callback carries that mean something here.
enum class TrayMouse { LeftButtonUp, RightButtonDown, Other };

class TrayView {
public:
    virtual ~TrayView() = default;
    // The shell's add, modify and delete of the icon; true when accepted.
    virtual bool addIcon(TrayImage image, const std::string& tip) = 0;
    virtual bool modifyIcon(TrayImage image, const std::string& tip) = 0;
    virtual void deleteIcon() = 0;
    // Releases the loaded status images; they are loaded again when needed.
    virtual void releaseImages() = 0;
    // The taskbar's window (class "Shell_TrayWnd"), 0 when there is none.
    virtual platform::NativeWindow findTaskbar() = 0;
    // Pops the menu up at the mouse; a chosen item comes back as a command.
    virtual void popUpMenu(const std::vector<TrayMenuItem>& items) = 0;
    virtual void beep() = 0;
};

} // namespace tidemark::monitor
