#include "automation/Controls.h"

#include "automation/WindowMessages.h"
#include "platform/win32/Win32Text.h"

#include <cstdio>

namespace tidemark::automation {
namespace {

BOOL CALLBACK collectChild(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> children;
    if (parent != nullptr) ::EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

} // namespace

HWND findControl(HWND parent, int controlId) {
    if (HWND direct = ::GetDlgItem(parent, controlId)) return direct;
    for (HWND child : descendants(parent)) {
        if (::GetDlgCtrlID(child) == controlId) return child;
    }
    return nullptr;
}

HWND findControl(HWND parent, const std::string& className, const std::string& text) {
    for (HWND child : descendants(parent)) {
        if (!className.empty() && !sameClassName(windowClassName(child), className)) continue;
        if (!text.empty()) {
            const std::optional<std::string> shown = controlText(child);
            if (!shown || *shown != text) continue;
        }
        return child;
    }
    return nullptr;
}

std::vector<ControlInfo> listControls(HWND parent) {
    std::vector<ControlInfo> infos;
    for (HWND child : descendants(parent)) {
        ControlInfo info;
        info.hwnd = child;
        info.id = ::GetDlgCtrlID(child);
        info.className = windowClassName(child);
        info.text = controlText(child).value_or(std::string());
        info.visible = ::IsWindowVisible(child) != 0;
        info.enabled = ::IsWindowEnabled(child) != 0;
        info.style = static_cast<LONG>(::GetWindowLongPtrW(child, GWL_STYLE));
        ::GetWindowRect(child, &info.rect);
        infos.push_back(info);
    }
    return infos;
}

std::string formatControlInfo(const ControlInfo& info) {
    char head[200];
    std::snprintf(head, sizeof(head), "0x%08llx id=%d %s %s style=0x%08lx rect=(%ld,%ld)-(%ld,%ld) ",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(info.hwnd)), info.id,
                  info.visible ? "visible" : "hidden", info.enabled ? "enabled" : "disabled",
                  static_cast<unsigned long>(info.style), info.rect.left, info.rect.top, info.rect.right,
                  info.rect.bottom);
    return std::string(head) + "class=\"" + info.className + "\" text=\"" + info.text + "\"";
}

std::optional<std::string> controlText(HWND control) { return windowTextByMessage(control); }

bool isEnabled(HWND control) { return control != nullptr && ::IsWindowEnabled(control) != 0; }

bool isVisible(HWND control) { return control != nullptr && ::IsWindowVisible(control) != 0; }

std::optional<CheckState> checkState(HWND control) {
    const std::optional<LRESULT> state = sendMessage(control, BM_GETCHECK);
    if (!state) return std::nullopt;
    switch (*state) {
    case BST_CHECKED: return CheckState::Checked;
    case BST_INDETERMINATE: return CheckState::Indeterminate;
    default: return CheckState::Unchecked;
    }
}

bool setControlText(HWND control, const std::string& text) {
    const std::wstring wide = win32::toWide(text);
    const std::optional<LRESULT> result =
        sendMessage(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return result && *result != 0;
}

bool clickButton(HWND button) {
    // A disabled button ignores clicks; say so rather than pretend.
    if (!isEnabled(button)) return false;
    return postMessage(button, BM_CLICK);
}

bool clickButtonAndWait(HWND button, UINT timeoutMs) {
    if (!isEnabled(button)) return false;
    return sendMessage(button, BM_CLICK, 0, 0, timeoutMs).has_value();
}

bool chooseMenuCommand(HWND owner, int commandId) {
    // HIWORD 0: from a menu; lParam 0: no control.
    return postMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(commandId), 0), 0);
}

} // namespace tidemark::automation
