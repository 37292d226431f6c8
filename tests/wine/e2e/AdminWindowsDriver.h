// The administrator window and the slow cleaning and process watch windows,
// reached as a user reaches them: the tray menu's 管理者設定 (&Q), then the
// window's button.
#pragma once
#include "TidemarkSession.h"

#include <commctrl.h>
#include "monitor/windows/win32/resource.h"

namespace tidemark::e2e {

// A shown top-level window of the process, by its caption.
inline HWND waitForShownWindow(DWORD processId, const std::string& caption) {
    automation::WindowCriteria criteria;
    criteria.caption = caption;
    criteria.processId = processId;
    criteria.visibleOnly = true;
    return automation::waitForWindow(criteria, 10000);
}

inline HWND openAdminWindow(TidemarkSession& session, DWORD processId) {
    if (!session.trayCallback(processId, WM_RBUTTONDOWN)) return nullptr;
    HWND menu = automation::waitForPopupMenu(processId, 10000);
    if (!menu || !automation::choosePopupMenuItemByMnemonic(menu, "q")) return nullptr;
    automation::WindowCriteria admin;
    admin.caption = "管理者設定";
    admin.processId = processId;
    admin.visibleOnly = true;
    return automation::waitForWindow(admin, 10000);
}

// The second page: the tab control takes the arrow key as a user's.
inline bool showCleaningPage(HWND admin) {
    HWND tabs = automation::findControl(admin, IDC_ADMIN_TABS);
    if (!tabs || !automation::postMessage(tabs, WM_KEYDOWN, VK_RIGHT, 0)) return false;
    automation::postMessage(tabs, WM_KEYUP, VK_RIGHT, 0);
    return automation::pollUntil(5000, [&] { return automation::isVisible(automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON)); });
}

inline HWND openSlowWindow(HWND admin, DWORD processId) {
    if (!automation::clickButton(automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON))) return nullptr;
    automation::WindowCriteria slow;
    slow.caption = "低速クリーニング設定";
    slow.processId = processId;
    slow.visibleOnly = true;
    return automation::waitForWindow(slow, 10000);
}

// The process watch window, from an administrator window just opened with
// the watch on and no system start: the window's recommendation of the
// system start is answered first.
inline HWND openWatchWindow(HWND admin, DWORD processId) {
    const auto advice = automation::waitForMessageBox(processId, 10000, "推奨します");
    if (!advice || advice->caption != "システムスタート時に実行することを推奨します" ||
        !automation::answerMessageBox(advice->hwnd, IDOK))
        return nullptr;
    if (!showCleaningPage(admin) || !automation::clickButton(automation::findControl(admin, IDC_WATCH_SETTINGS_BUTTON)))
        return nullptr;
    automation::WindowCriteria watch;
    watch.caption = "プロセス監視設定";
    watch.processId = processId;
    watch.visibleOnly = true;
    return automation::waitForWindow(watch, 10000);
}

} // namespace tidemark::e2e
