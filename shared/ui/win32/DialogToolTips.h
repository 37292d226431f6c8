// The tooltips of a dialog: every control of the dialog is a tool from the
// start, and a control shows a tip once it is given a text.
#pragma once
#include <string>

#include "platform/win32/GdiHandles.h"
#include "platform/win32/Handles.h"

namespace tidemark::monitor {

class DialogToolTips {
public:
    // Makes the tooltip window for the dialog's controls as they are now.
    void create(HWND dialog, HINSTANCE instance);
    // A control's tip, in UTF-8; an empty text shows none.
    void setText(HWND control, const std::string& text);
    // Before the dialog goes: the tooltip window is the dialog's own popup.
    void destroy() { tips_.reset(); }

private:
    HWND dialog_ = nullptr;
    win32::UniqueWindow tips_;
};

// The program's icon at the small-icon size for the DPI, as the dialog's
// caption icon.
win32::UniqueIcon loadSmallIcon(HINSTANCE instance, int iconId, int dpi);

} // namespace tidemark::monitor
