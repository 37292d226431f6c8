// Window messages of Tidemark's hidden owner window that other programs
// (and the end-to-end tests) may send.
#pragma once

namespace tidemark::monitor {

// The shell's tray callback: lParam carries the mouse message
// (0x202 left button up, 0x204 right button down).
inline constexpr unsigned kTrayCallbackMessage = 0x8000 + 1;   // WM_APP + 1

} // namespace tidemark::monitor
