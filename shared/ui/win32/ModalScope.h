// What a modal window holds while it is open: the rest of its thread's
// windows out of reach.
#pragma once
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tidemark::monitor {

// Win32 disables only a modal window's owner: the thread's other windows
// are disabled too while it is open, so that nothing else takes input.
class OtherWindowsDisabled {
public:
    enum class Reach {
        visible,   // the windows on the screen (a dialog box's modal loop)
        all,       // hidden ones too: a window the tray shows during the modal run stays out of reach
    };

    // keep: the window left as it is (a dialog box's owner, which the
    // system disables itself, or the modal window itself).
    explicit OtherWindowsDisabled(HWND keep, Reach reach = Reach::visible) : owner_(keep), reach_(reach) {
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM self) -> BOOL {
                auto* scope = reinterpret_cast<OtherWindowsDisabled*>(self);
                if ((scope->reach_ == Reach::all || ::IsWindowVisible(w)) && ::IsWindowEnabled(w))
                    scope->disabled_.push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        for (HWND w : disabled_)
            if (w != owner_) ::EnableWindow(w, FALSE);
    }
    ~OtherWindowsDisabled() {
        for (HWND w : disabled_)
            if (w != owner_ && ::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    HWND owner_;
    Reach reach_;
    std::vector<HWND> disabled_;
};

} // namespace tidemark::monitor
