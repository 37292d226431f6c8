// Top-level windows of the programs under test: found by class and caption,
// waited for, and listed for diagnostics.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

struct WindowCriteria {
    std::optional<std::string> className;   // exact, case-insensitive like the system's class names
    std::optional<std::string> caption;     // exact, or a part of it when captionSubstring
    bool captionSubstring = false;
    DWORD processId = 0;                    // 0: any process
    bool visibleOnly = false;
};

struct WindowInfo {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
    std::string className;
    std::string caption;
    bool visible = false;
    bool enabled = false;
    RECT rect{};          // screen coordinates
    HWND owner = nullptr;
};

bool matches(HWND window, const WindowCriteria& criteria);
// In the system's top-to-bottom order.
std::vector<HWND> findWindows(const WindowCriteria& criteria);
HWND findWindow(const WindowCriteria& criteria);
// The first match, looking again until the time is up; nullptr then.
HWND waitForWindow(const WindowCriteria& criteria, DWORD timeoutMs);
// Waits until no window matches; false if one still does when the time is up.
bool waitForNoWindow(const WindowCriteria& criteria, DWORD timeoutMs);

WindowInfo describeWindow(HWND window);
// Every top-level window of a process, hidden ones included.
std::vector<WindowInfo> listWindows(DWORD processId);
// One line per window: handle, class, caption, visibility, rectangle.
std::string formatWindowInfo(const WindowInfo& info);

DWORD windowProcessId(HWND window);

} // namespace tidemark::automation
