// Message boxes of a program under test: found, read and answered, so that
// no test waits on a box nobody will press.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

// The message text's control ID in the system's message-box template.
constexpr int kMessageBoxTextId = 0xFFFF;

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;                        // as WM_GETTEXT gives it, CR LF included
    std::vector<int> buttons;                // IDOK, IDYES, ... left to right
    std::vector<std::string> buttonTexts;    // the same order
    bool hasIcon = false;
};

// A dialog ("#32770") built like a message box: the message-text control,
// at most an icon beside it, and only standard push buttons.
bool isMessageBox(HWND window);
// nullopt when the window is no message box or does not answer.
std::optional<MessageBoxInfo> readMessageBox(HWND dialog);
// Visible message boxes of a process (0: any), top-most first.
std::vector<HWND> findMessageBoxes(DWORD processId);
// The first visible message box of the process whose text contains
// textContains (empty: any), once it is fully set up.
std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, DWORD timeoutMs,
                                                const std::string& textContains = std::string());

// Presses one of the box's buttons (queued WM_COMMAND with BN_CLICKED, as
// the button itself sends) and waits up to closeTimeoutMs for the box to
// go. False when the box has no such button or stays open.
bool answerMessageBox(HWND dialog, int buttonId, DWORD closeTimeoutMs = 5000);

// "OK", "Cancel", "Yes", ... for IDOK, IDCANCEL, IDYES, ...; the number otherwise.
std::string buttonIdName(int buttonId);
// The reverse; also accepts the number itself.
std::optional<int> buttonIdFromName(const std::string& name);

} // namespace tidemark::automation
