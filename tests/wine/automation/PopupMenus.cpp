#include "automation/PopupMenus.h"

#include "automation/Timing.h"
#include "automation/TopLevelWindows.h"
#include "automation/WindowMessages.h"
#include "platform/win32/Win32Text.h"

#include <vector>

namespace tidemark::automation {
namespace {

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

bool pressKey(HWND menuWindow, WPARAM key) {
    const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    return postMessage(menuWindow, WM_KEYDOWN, key, down) && postMessage(menuWindow, WM_KEYUP, key, up);
}

} // namespace

HWND findPopupMenu(DWORD processId) {
    WindowCriteria criteria;
    criteria.className = "#32768";
    criteria.processId = processId;
    criteria.visibleOnly = true;
    return findWindow(criteria);
}

HWND waitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    return pollUntil(timeoutMs, [&] { return findPopupMenu(processId); });
}

std::optional<std::vector<MenuItem>> readPopupMenu(HWND menuWindow, std::string* error) {
    const std::optional<LRESULT> handle = sendMessage(menuWindow, MN_GETHMENU);
    if (!handle || *handle == 0) {
        setError(error, "the menu window did not give its menu (MN_GETHMENU)");
        return std::nullopt;
    }
    const HMENU menu = reinterpret_cast<HMENU>(*handle);
    const int count = ::GetMenuItemCount(menu);
    if (count < 0) {
        setError(error, "GetMenuItemCount failed, error " + std::to_string(::GetLastError()) +
                            " (the menu belongs to another process)");
        return std::nullopt;
    }
    std::vector<MenuItem> items;
    for (int position = 0; position < count; ++position) {
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 511;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
            setError(error, "GetMenuItemInfoW failed, error " + std::to_string(::GetLastError()));
            return std::nullopt;
        }
        MenuItem item;
        item.position = position;
        item.id = info.wID;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.disabled = (info.fState & MFS_DISABLED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.submenu = info.hSubMenu != nullptr;
        if (!item.separator) item.text = win32::fromWideBuffer(text);
        items.push_back(item);
    }
    return items;
}

bool choosePopupMenuItem(HWND menuWindow, int position, const std::vector<MenuItem>* items) {
    if (position < 0) return false;
    // Down from "nothing selected" lands on the first item; arrows skip
    // separators.
    int presses = position + 1;
    if (items != nullptr) {
        if (position >= static_cast<int>(items->size())) return false;
        const MenuItem& wanted = (*items)[static_cast<size_t>(position)];
        if (wanted.separator || wanted.disabled) return false;
        presses = 0;
        for (int i = 0; i <= position; ++i) {
            if (!(*items)[static_cast<size_t>(i)].separator) ++presses;
        }
    }
    for (int i = 0; i < presses; ++i) {
        if (!pressKey(menuWindow, VK_DOWN)) return false;
    }
    return pressKey(menuWindow, VK_RETURN);
}

bool choosePopupMenuItemByText(HWND menuWindow, const std::string& text, std::string* error) {
    const std::optional<std::vector<MenuItem>> items = readPopupMenu(menuWindow, error);
    if (!items) return false;
    for (const MenuItem& item : *items) {
        if (item.separator) continue;
        if (item.text == text || withoutMnemonicMarker(item.text) == withoutMnemonicMarker(text)) {
            return choosePopupMenuItem(menuWindow, item.position, &*items);
        }
    }
    setError(error, "no item \"" + text + "\"");
    return false;
}

bool choosePopupMenuItemByMnemonic(HWND menuWindow, const std::string& key) {
    const std::wstring wide = win32::toWide(key);
    if (wide.size() != 1) return false;
    return postMessage(menuWindow, WM_CHAR, static_cast<WPARAM>(wide[0]), 1);
}

bool choosePopupMenuCommand(HWND menuWindow, HWND owner, UINT commandId, DWORD closeTimeoutMs) {
    // Closed first: the command then runs after the menu's modal loop, as
    // after a real choice.
    if (!closePopupMenu(menuWindow, closeTimeoutMs)) return false;
    return postMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(commandId), 0), 0);
}

bool closePopupMenu(HWND menuWindow, DWORD timeoutMs) {
    if (!pressKey(menuWindow, VK_ESCAPE)) return false;
    return pollUntil(timeoutMs, [&] { return !::IsWindow(menuWindow) || !::IsWindowVisible(menuWindow); });
}

std::string withoutMnemonicMarker(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            // "&&" shows one ampersand.
            if (i + 1 < text.size() && text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain;
}

} // namespace tidemark::automation
