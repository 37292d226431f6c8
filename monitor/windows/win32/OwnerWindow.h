// What a window owned by another asks of its owner: frmSimple owns the tray
// icon, its menu and the About window, and passes the tray's messages on.
#pragma once
#include "platform/win32/WindowsApi.h"

namespace tidemark::monitor {

class OwnerWindow {
public:
    // Null until the owner exists.
    virtual HWND hwnd() const = 0;

protected:
    ~OwnerWindow() = default;
};

// Messages the owner offers before handling its own.
class OwnedMessages {
public:
    // True when the message was taken.
    virtual bool onOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~OwnedMessages() = default;
};

} // namespace tidemark::monitor
