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
    explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM list) -> BOOL {
                if (::IsWindowVisible(w) && ::IsWindowEnabled(w))
                    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&disabled_));
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
    std::vector<HWND> disabled_;
};

} // namespace tidemark::monitor
