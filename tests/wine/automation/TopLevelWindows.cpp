#include "automation/TopLevelWindows.h"

#include "automation/Timing.h"
#include "automation/WindowMessages.h"
#include "platform/win32/Win32Text.h"

#include <cstdio>

namespace tidemark::automation {
namespace {

struct EnumContext {
    const WindowCriteria* criteria;
    std::vector<HWND>* found;
};

BOOL CALLBACK collectMatching(HWND window, LPARAM context) {
    auto* enumContext = reinterpret_cast<EnumContext*>(context);
    if (matches(window, *enumContext->criteria)) enumContext->found->push_back(window);
    return TRUE;
}

BOOL CALLBACK collectAll(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

} // namespace

DWORD windowProcessId(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool matches(HWND window, const WindowCriteria& criteria) {
    if (criteria.processId != 0 && windowProcessId(window) != criteria.processId) return false;
    if (criteria.visibleOnly && !::IsWindowVisible(window)) return false;
    if (criteria.className && !sameClassName(windowClassName(window), *criteria.className)) return false;
    if (criteria.caption) {
        const std::string caption = windowCaption(window);
        if (criteria.captionSubstring ? caption.find(*criteria.caption) == std::string::npos
                                      : caption != *criteria.caption) {
            return false;
        }
    }
    return true;
}

std::vector<HWND> findWindows(const WindowCriteria& criteria) {
    std::vector<HWND> found;
    EnumContext context{&criteria, &found};
    ::EnumWindows(collectMatching, reinterpret_cast<LPARAM>(&context));
    return found;
}

HWND findWindow(const WindowCriteria& criteria) {
    const std::vector<HWND> found = findWindows(criteria);
    return found.empty() ? nullptr : found.front();
}

HWND waitForWindow(const WindowCriteria& criteria, DWORD timeoutMs) {
    return pollUntil(timeoutMs, [&] { return findWindow(criteria); });
}

bool waitForNoWindow(const WindowCriteria& criteria, DWORD timeoutMs) {
    return pollUntil(timeoutMs, [&] { return findWindow(criteria) == nullptr; });
}

WindowInfo describeWindow(HWND window) {
    WindowInfo info;
    info.hwnd = window;
    info.threadId = ::GetWindowThreadProcessId(window, &info.processId);
    info.className = windowClassName(window);
    info.caption = windowCaption(window);
    info.visible = ::IsWindowVisible(window) != 0;
    info.enabled = ::IsWindowEnabled(window) != 0;
    ::GetWindowRect(window, &info.rect);
    info.owner = ::GetWindow(window, GW_OWNER);
    return info;
}

std::vector<WindowInfo> listWindows(DWORD processId) {
    std::vector<HWND> all;
    ::EnumWindows(collectAll, reinterpret_cast<LPARAM>(&all));
    std::vector<WindowInfo> infos;
    for (HWND window : all) {
        if (windowProcessId(window) == processId) infos.push_back(describeWindow(window));
    }
    return infos;
}

std::string formatWindowInfo(const WindowInfo& info) {
    char head[160];
    std::snprintf(head, sizeof(head), "0x%08llx pid=%lu %s rect=(%ld,%ld)-(%ld,%ld) ",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(info.hwnd)),
                  static_cast<unsigned long>(info.processId), info.visible ? "visible" : "hidden", info.rect.left,
                  info.rect.top, info.rect.right, info.rect.bottom);
    return std::string(head) + "class=\"" + info.className + "\" caption=\"" + info.caption + "\"";
}

} // namespace tidemark::automation
