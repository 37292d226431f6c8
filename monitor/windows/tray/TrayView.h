// What the tray icon and its menu offer their presenter: the shell's icon
// calls, the taskbar's window, the pop-up menu and a beep.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "monitor/windows/tray/TrayIconChoice.h"
#include "monitor/windows/tray/TrayMenu.h"
#include "monitor/windows/WindowPlacement.h"
#include "platform/Display.h"

namespace tidemark::monitor {

// What a tray callback carries that means something here: the mouse
// messages of the shell's first behaviour, and the notifications of its
// version 4: a select (a click, or Enter on the icon the mouse chose), a
// key select (Space or Enter on the icon the keyboard reached) and the
// context menu (the right button, the context-menu key or Shift+F10).
enum class TrayMouse { LeftButtonUp, RightButtonDown, Select, KeySelect, ContextMenu, Other };

class TrayView {
public:
    virtual ~TrayView() = default;
    // The shell's add, modify and delete of the icon; true when accepted.
    virtual bool addIcon(TrayImage image, const std::string& tip) = 0;
    virtual bool modifyIcon(TrayImage image, const std::string& tip) = 0;
    virtual void deleteIcon() = 0;
    // Asks the shell to treat the icon just added with its version-4
    // behaviour; true when it does.
    virtual bool useVersion4() = 0;
    // Releases the loaded status images; they are loaded again when needed.
    virtual void releaseImages() = 0;
    // The taskbar's window (class "Shell_TrayWnd"), 0 when there is none.
    virtual platform::NativeWindow findTaskbar() = 0;
    // Pops the menu up at the anchor (screen pixels), or at the mouse without
    // one; a chosen item comes back as a command. Closed without a choice,
    // the focus goes back where it was.
    virtual void popUpMenu(const std::vector<TrayMenuItem>& items, std::optional<PixelPoint> anchor) = 0;
    virtual void beep() = 0;
};

} // namespace tidemark::monitor
