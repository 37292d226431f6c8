// Window messages of Tidemark's hidden owner window that other programs
// (and the end-to-end tests) may send.
#pragma once

namespace tidemark::monitor {

// The shell's tray callback: lParam's low word carries the mouse message
// (0x202 left button up, 0x204 right button down) or, the icon being of the
// shell's version 4, the notification (0x400 select, 0x401 key select, 0x7B
// context menu) with the anchor's screen coordinates in wParam.
inline constexpr unsigned kTrayCallbackMessage = 0x8000 + 1;   // WM_APP + 1

} // namespace tidemark::monitor
