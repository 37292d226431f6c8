// Tooltip texts a program registered for its controls. The tooltip control
// lives in the program's process and its messages carry pointers, which the
// system does not copy across processes; the structures are therefore
// placed in the program's own memory (VirtualAllocEx) and read back.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

struct TooltipTool {
    HWND tooltip = nullptr;   // the tooltip control
    HWND window = nullptr;    // TOOLINFO hwnd: the window that holds the tool
    UINT_PTR id = 0;          // TOOLINFO uId: a control's handle with TTF_IDISHWND, else an ID
    UINT flags = 0;
    RECT rect{};
    std::string text;
};

// The tooltip controls ("tooltips_class32") of a process, hidden ones too.
std::vector<HWND> tooltipWindows(DWORD processId);

// Every tool of one tooltip control, with its full text; nullopt when the
// control or its process could not be read (and why, in *error).
std::optional<std::vector<TooltipTool>> tooltipTools(HWND tooltip, std::string* error = nullptr);

// The text shown when the pointer rests on the control: the tool registered
// for the control's handle (TTF_IDISHWND) or for its ID in its parent.
// nullopt when no tooltip of the control's process has such a tool.
std::optional<std::string> tooltipText(HWND control, std::string* error = nullptr);

} // namespace tidemark::automation
