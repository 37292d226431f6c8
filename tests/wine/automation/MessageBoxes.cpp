#include "automation/MessageBoxes.h"

#include "automation/Controls.h"
#include "automation/Timing.h"
#include "automation/TopLevelWindows.h"
#include "automation/WindowMessages.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

namespace tidemark::automation {
namespace {

struct NamedButton {
    int id;
    const char* name;
};

constexpr NamedButton kButtonNames[] = {
    {IDOK, "OK"},       {IDCANCEL, "Cancel"}, {IDABORT, "Abort"},       {IDRETRY, "Retry"},
    {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"},             {IDCLOSE, "Close"},
    {IDHELP, "Help"},   {IDTRYAGAIN, "TryAgain"}, {IDCONTINUE, "Continue"},
};

bool isPushButton(HWND child) {
    if (!sameClassName(windowClassName(child), "Button")) return false;
    const LONG_PTR type = ::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Windows gives the icon control ID 20, Wine 0x440 (stc1) and keeps it when
// the box has no icon; so look for a visible icon static that holds one.
bool showsIcon(const std::vector<ControlInfo>& controls) {
    for (const ControlInfo& control : controls) {
        if (!control.visible || !sameClassName(control.className, "Static")) continue;
        if ((control.style & SS_TYPEMASK) != SS_ICON) continue;
        const std::optional<LRESULT> icon = sendMessage(control.hwnd, STM_GETICON);
        if (icon && *icon != 0) return true;
    }
    return false;
}

// The message text control of a dialog built like a message box, or
// nullptr. Its ID is 0xFFFF in a 16-bit template and -1 in an extended one;
// an unnamed label (-1) in any dialog has it too, so the rest must fit: a
// message box holds nothing but its icon, its text and standard buttons.
HWND messageTextControl(const std::vector<ControlInfo>& controls) {
    HWND text = nullptr;
    int statics = 0;
    for (const ControlInfo& control : controls) {
        if (sameClassName(control.className, "Static")) {
            ++statics;
            if (static_cast<WORD>(control.id) == kMessageBoxTextId) text = control.hwnd;
        } else if (!isPushButton(control.hwnd) || control.id < IDOK || control.id > IDCONTINUE) {
            return nullptr;
        }
    }
    return statics <= 2 ? text : nullptr;
}

bool isDialog(HWND window) { return window != nullptr && sameClassName(windowClassName(window), "#32770"); }

} // namespace

bool isMessageBox(HWND window) { return isDialog(window) && messageTextControl(listControls(window)) != nullptr; }

std::optional<MessageBoxInfo> readMessageBox(HWND dialog) {
    if (!isDialog(dialog)) return std::nullopt;
    const std::vector<ControlInfo> controls = listControls(dialog);
    const HWND textControl = messageTextControl(controls);
    if (textControl == nullptr) return std::nullopt;
    const std::optional<std::string> text = controlText(textControl);
    if (!text) return std::nullopt;
    MessageBoxInfo info;
    info.hwnd = dialog;
    info.caption = windowCaption(dialog);
    info.text = *text;

    std::vector<ControlInfo> buttons;
    for (const ControlInfo& control : controls) {
        if (control.visible && isPushButton(control.hwnd)) buttons.push_back(control);
    }
    std::sort(buttons.begin(), buttons.end(), [](const ControlInfo& a, const ControlInfo& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    for (const ControlInfo& button : buttons) {
        info.buttons.push_back(button.id);
        info.buttonTexts.push_back(button.text);
    }
    info.hasIcon = showsIcon(controls);
    return info;
}

std::vector<HWND> findMessageBoxes(DWORD processId) {
    WindowCriteria criteria;
    criteria.className = "#32770";
    criteria.processId = processId;
    criteria.visibleOnly = true;
    std::vector<HWND> boxes;
    for (HWND dialog : findWindows(criteria)) {
        if (isMessageBox(dialog)) boxes.push_back(dialog);
    }
    return boxes;
}

std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, DWORD timeoutMs, const std::string& textContains) {
    return pollUntil(timeoutMs, [&]() -> std::optional<MessageBoxInfo> {
        for (HWND dialog : findMessageBoxes(processId)) {
            std::optional<MessageBoxInfo> info = readMessageBox(dialog);
            // A box is shown once its buttons are laid out; an empty list
            // means it is still being set up.
            if (!info || info->buttons.empty()) continue;
            if (!textContains.empty() && info->text.find(textContains) == std::string::npos) continue;
            return info;
        }
        return std::nullopt;
    });
}

bool answerMessageBox(HWND dialog, int buttonId, DWORD closeTimeoutMs) {
    if (!isMessageBox(dialog)) return false;
    const HWND button = ::GetDlgItem(dialog, buttonId);
    if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button) || !isPushButton(button)) {
        return false;
    }
    if (!postMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(buttonId), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button))) {
        return false;
    }
    return pollUntil(closeTimeoutMs, [&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); });
}

std::string buttonIdName(int buttonId) {
    for (const NamedButton& named : kButtonNames) {
        if (named.id == buttonId) return named.name;
    }
    return std::to_string(buttonId);
}

std::optional<int> buttonIdFromName(const std::string& name) {
    if (name.empty()) return std::nullopt;
    for (const NamedButton& named : kButtonNames) {
        const std::string candidate = named.name;
        if (candidate.size() == name.size() &&
            std::equal(candidate.begin(), candidate.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            })) {
            return named.id;
        }
    }
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 0);
    if (end == nullptr || *end != '\0' || number <= 0 || number > 0xFFFF) return std::nullopt;
    return static_cast<int>(number);
}

} // namespace tidemark::automation
