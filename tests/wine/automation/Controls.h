// Child controls of a program's window: found by ID or by class and text,
// read, and operated the way a user would.
#pragma once
#include "automation/Timing.h"
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

// Any descendant (not only direct children) with that control ID.
HWND findControl(HWND parent, int controlId);
// By class (exact, case-insensitive) and text (exact); either may be empty
// to match anything.
HWND findControl(HWND parent, const std::string& className, const std::string& text);

struct ControlInfo {
    HWND hwnd = nullptr;
    int id = 0;
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = false;
    LONG style = 0;
    RECT rect{};   // screen coordinates
};
// Every descendant, in the system's order, for diagnostics.
std::vector<ControlInfo> listControls(HWND parent);
std::string formatControlInfo(const ControlInfo& info);

// WM_GETTEXT: what the control shows now, also for edits. nullopt when the
// control does not answer.
std::optional<std::string> controlText(HWND control);
bool isEnabled(HWND control);
bool isVisible(HWND control);

enum class CheckState { Unchecked, Checked, Indeterminate };
// BM_GETCHECK of a check box or option button.
std::optional<CheckState> checkState(HWND control);

// WM_SETTEXT, then EN_CHANGE reaches the parent as if typed.
bool setControlText(HWND control, const std::string& text);

// BM_CLICK, queued: the click may open a modal dialog, which must not hold
// up the caller. The control's window must be enabled.
bool clickButton(HWND button);
// BM_CLICK, sent: returns once the click was handled. Only for clicks that
// open nothing modal.
bool clickButtonAndWait(HWND button, UINT timeoutMs = kMessageTimeoutMs);

// Queues WM_COMMAND for a menu item or accelerator to the window that owns
// the menu, as choosing the item does.
bool chooseMenuCommand(HWND owner, int commandId);

} // namespace tidemark::automation
