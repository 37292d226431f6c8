// One end-to-end session with the real Tidemark.exe: a fresh install folder
// (program, allocation library, its own shared settings file), the user's
// own settings file cleared, and helpers to read both files and to find the
// program's windows. Every program started here is ended when it goes.
#pragma once
#include <optional>
#include <string>

#include "automation/Automation.h"
#include "platform/win32/Win32Platform.h"

namespace tidemark::e2e {

class TidemarkSession {
public:
    TidemarkSession();
    // A session in an install folder prepared from outside (one that admits
    // no new file, say): nothing is copied into it or removed from it.
    explicit TidemarkSession(std::string installedFolder);
    ~TidemarkSession();

    const std::string& folder() const { return folder_; }
    std::string sharedFile() const { return folder_ + "\\Tidemark.ini"; }
    std::string userFile() const;

    automation::Process start(const std::string& arguments = std::string());

    std::optional<std::string> shared(const std::string& section, const std::string& key);
    std::optional<std::string> user(const std::string& section, const std::string& key);
    bool writeUser(const std::string& section, const std::string& key, const std::string& value);
    // Waits until the shared key exists (and equals the value, if given).
    bool waitForShared(const std::string& section, const std::string& key, DWORD timeoutMs,
                       const std::optional<std::string>& value = std::nullopt);

    // The status windows of a running copy (found by their controls).
    HWND simpleWindow(DWORD processId, DWORD timeoutMs = 15000);
    HWND graphWindow(DWORD processId, DWORD timeoutMs = 15000);
    // Opens the About window through the tray menu's command; nullptr when
    // it does not come.
    HWND openAboutWindow(DWORD processId, DWORD timeoutMs = 10000);
    // Sends the numeric window what the shell sends an icon of its version 4
    // for a mouse message: after a left button up the select notification,
    // after a right button down the button up and the context menu at the
    // mouse.
    bool trayCallback(DWORD processId, UINT mouseMessage);
    // A left click on the icon, then the status window shown within 5 s.
    bool showByTrayClick(DWORD processId, HWND statusWindow);
    // One callback of version 4, once the shell holds the icon: a message or
    // notification (NIN_KEYSELECT, WM_CONTEXTMENU, ...) in lParam's low word,
    // the icon's ID 0 above it, and the anchor's screen point in wParam.
    bool trayNotify(DWORD processId, UINT notification, POINT anchor = {});

    // Saves a PNG of the window under the build folder's captures.
    std::string capture(HWND window, const std::string& name);

    std::string sid();          // this process's user SID
    std::string userName();

    win32::Win32Platform& system() { return system_; }

private:
    win32::Win32Platform system_;
    std::string folder_;
    bool ownsFolder_ = true;
};

} // namespace tidemark::e2e
