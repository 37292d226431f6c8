// Pop-up menus (class "#32768"), such as the one a tray icon opens: found,
// read where the system allows it, and chosen from with the keyboard, as a
// user would. Wine keeps a menu's items in the process that made it, so
// there only the choosing works, not the reading.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

struct MenuItem {
    int position = 0;
    UINT id = 0;
    std::string text;   // with its & mnemonic marker, as the menu holds it
    bool separator = false;
    bool disabled = false;   // grayed or disabled
    bool checked = false;
    bool submenu = false;
};

// The visible pop-up menu of the process (0: any).
HWND findPopupMenu(DWORD processId);
HWND waitForPopupMenu(DWORD processId, DWORD timeoutMs);

// The menu's items through MN_GETHMENU. nullopt when the menu cannot be
// read from this process (see *error).
std::optional<std::vector<MenuItem>> readPopupMenu(HWND menuWindow, std::string* error = nullptr);

// Chooses the item at position (0-based, separators counted) with arrow
// keys and Enter, so the program gets the command exactly as from a user.
// items: the menu as read, needed to step over separators; without them the
// position is taken to count no separators.
bool choosePopupMenuItem(HWND menuWindow, int position, const std::vector<MenuItem>* items = nullptr);
// By the item's text, with or without its & marker. Needs a readable menu.
bool choosePopupMenuItemByText(HWND menuWindow, const std::string& text, std::string* error = nullptr);
// By its mnemonic, the character after & in "終了(&X)" (one character,
// either case), as typed while the menu is open.
bool choosePopupMenuItemByMnemonic(HWND menuWindow, const std::string& key);
// Closes the menu, then queues WM_COMMAND with the item's ID to the window
// that owns the menu. Only for programs that take their menu's choice from
// WM_COMMAND; one that uses TPM_RETURNCMD needs a keyboard choice.
bool choosePopupMenuCommand(HWND menuWindow, HWND owner, UINT commandId, DWORD closeTimeoutMs = 2000);
// Closes the menu without choosing (Escape).
bool closePopupMenu(HWND menuWindow, DWORD timeoutMs = 2000);

// "終了(&X)" -> "終了(X)": what the user reads, for comparing texts.
std::string withoutMnemonicMarker(const std::string& text);

} // namespace tidemark::automation
