// Messages to other programs' windows that never block the caller for long:
// a hung or modal receiver makes the call fail instead of hanging the test.
#pragma once
#include "automation/Timing.h"
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>

namespace tidemark::automation {

// The receiver's result, or nullopt when it did not answer in time (or the
// window is gone).
std::optional<LRESULT> sendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                   UINT timeoutMs = kMessageTimeoutMs);
// Queued; for anything that may open a modal loop (a dialog, a menu).
bool postMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// WM_GETTEXT through sendMessage; the system copies the text across
// processes. nullopt when the window did not answer.
std::optional<std::string> windowTextByMessage(HWND window, UINT timeoutMs = kMessageTimeoutMs);

// GetWindowTextW: for another process's window this reads the caption the
// system keeps and sends nothing, so it cannot hang.
std::string windowCaption(HWND window);
std::string windowClassName(HWND window);
// Class names compare as the system compares them: ignoring case.
bool sameClassName(const std::string& a, const std::string& b);

} // namespace tidemark::automation
