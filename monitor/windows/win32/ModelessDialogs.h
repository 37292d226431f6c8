// The program's modeless dialogs, so that the one message loop gives each
// its keyboard handling (Tab, Enter, Esc, mnemonics) through
// IsDialogMessage.
#pragma once
#include <algorithm>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tidemark::monitor {

class ModelessDialogs {
public:
    void add(HWND dialog) { dialogs_.push_back(dialog); }
    void remove(HWND dialog) { dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end()); }

    // True when the message was a dialog's and has been handled.
    bool route(MSG& msg) const {
        if (!msg.hwnd) return false;
        HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
        if (std::find(dialogs_.begin(), dialogs_.end(), root) == dialogs_.end()) return false;
        return ::IsDialogMessageW(root, &msg) != FALSE;
    }

private:
    std::vector<HWND> dialogs_;
};

} // namespace tidemark::monitor
