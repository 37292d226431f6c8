#include "TidemarkSession.h"

#include <vector>

#include "monitor/windows/win32/TrayMessages.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::e2e {
namespace {

int sessionCounter = 0;

void endEveryTidemark() {
    for (DWORD pid : automation::processIdsByExeName("Tidemark.exe")) {
        HANDLE h = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!h) continue;
        ::TerminateProcess(h, 99);
        ::WaitForSingleObject(h, 10000);
        ::CloseHandle(h);
    }
}

HWND windowWithControl(DWORD processId, int controlId, DWORD timeoutMs) {
    automation::WindowCriteria criteria;
    criteria.className = "#32770";
    criteria.caption = "Tidemark";
    criteria.processId = processId;
    return automation::pollUntil(timeoutMs, [&]() -> HWND {
        for (HWND w : automation::findWindows(criteria))
            if (automation::findControl(w, controlId)) return w;
        return nullptr;
    });
}

} // namespace

TidemarkSession::TidemarkSession() {
    endEveryTidemark();
    const std::string bin = automation::currentProgramFolder();
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = win32::fromWideBuffer(temp) + "tm_e2e_" + std::to_string(::GetCurrentProcessId()) + "_" +
              std::to_string(++sessionCounter);
    ::CreateDirectoryW(win32::toWide(folder_).c_str(), nullptr);
    for (const char* file : {"Tidemark.exe", "Ramhold.dll"})
        ::CopyFileW(win32::toWide(bin + "\\" + file).c_str(), win32::toWide(folder_ + "\\" + file).c_str(), FALSE);
    ::DeleteFileW(win32::toWide(userFile()).c_str());
}

TidemarkSession::TidemarkSession(std::string installedFolder) : folder_(std::move(installedFolder)), ownsFolder_(false) {
    endEveryTidemark();
    ::DeleteFileW(win32::toWide(userFile()).c_str());
}

TidemarkSession::~TidemarkSession() {
    endEveryTidemark();
    ::DeleteFileW(win32::toWide(userFile()).c_str());
    if (!ownsFolder_) return;
    for (const char* file : {"Tidemark.exe", "Ramhold.dll", "Tidemark.ini"})
        ::DeleteFileW(win32::toWide(folder_ + "\\" + file).c_str());
    ::RemoveDirectoryW(win32::toWide(folder_).c_str());
    ::DeleteFileW(win32::toWide(userFile()).c_str());
}

std::string TidemarkSession::userFile() const {
    wchar_t appData[MAX_PATH];
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) return {};
    return win32::fromWideBuffer(appData) + "\\Quillon\\Kestrel\\Tidemark.ini";
}

automation::Process TidemarkSession::start(const std::string& arguments) {
    return automation::start(folder_ + "\\Tidemark.exe", arguments, folder_);
}

std::optional<std::string> TidemarkSession::shared(const std::string& section, const std::string& key) {
    profile::ProfileEngine engine(system_.platform());
    const auto r = engine.readValue(section, key, 1024, sharedFile());
    if (r.count == 0) return std::nullopt;
    return r.text;
}

std::optional<std::string> TidemarkSession::user(const std::string& section, const std::string& key) {
    profile::ProfileEngine engine(system_.platform());
    const auto r = engine.readValue(section, key, 1024, userFile());
    if (r.count == 0) return std::nullopt;
    return r.text;
}

bool TidemarkSession::writeUser(const std::string& section, const std::string& key, const std::string& value) {
    const std::string file = userFile();
    const std::string folder2 = file.substr(0, file.find_last_of('\\'));
    const std::string folder1 = folder2.substr(0, folder2.find_last_of('\\'));
    ::CreateDirectoryW(win32::toWide(folder1).c_str(), nullptr);
    ::CreateDirectoryW(win32::toWide(folder2).c_str(), nullptr);
    profile::ProfileEngine engine(system_.platform());
    return engine.writeString(section, key, value, file);
}

bool TidemarkSession::waitForShared(const std::string& section, const std::string& key, DWORD timeoutMs,
                                    const std::optional<std::string>& value) {
    return automation::pollUntil(timeoutMs, [&] {
        const auto v = shared(section, key);
        return v && (!value || *v == *value);
    });
}

HWND TidemarkSession::simpleWindow(DWORD processId, DWORD timeoutMs) {
    return windowWithControl(processId, IDC_NUMBERS_FRAME, timeoutMs);
}

HWND TidemarkSession::graphWindow(DWORD processId, DWORD timeoutMs) {
    return windowWithControl(processId, IDC_GRAPH, timeoutMs);
}

HWND TidemarkSession::openAboutWindow(DWORD processId, DWORD timeoutMs) {
    HWND simple = simpleWindow(processId);
    if (!simple || !automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_ABOUT, 0)) return nullptr;
    automation::WindowCriteria about;
    about.caption = "Tidemark のﾊﾞｰｼﾞｮﾝ情報";
    about.processId = processId;
    return automation::waitForWindow(about, timeoutMs);
}

bool TidemarkSession::trayCallback(DWORD processId, UINT mouseMessage) {
    POINT mouse{};
    ::GetCursorPos(&mouse);
    std::vector<UINT> sequence{mouseMessage};
    if (mouseMessage == WM_LBUTTONUP) sequence.push_back(NIN_SELECT);
    if (mouseMessage == WM_RBUTTONDOWN) sequence.insert(sequence.end(), {WM_RBUTTONUP, WM_CONTEXTMENU});
    for (UINT message : sequence)
        if (!trayNotify(processId, message, mouse)) return false;
    return true;
}

bool TidemarkSession::showByTrayClick(DWORD processId, HWND statusWindow) {
    return trayCallback(processId, WM_LBUTTONUP) &&
           automation::pollUntil(5000, [&] { return ::IsWindowVisible(statusWindow) != FALSE; });
}

bool TidemarkSession::trayNotify(DWORD processId, UINT notification, POINT anchor) {
    HWND simple = simpleWindow(processId);
    // The program asks for version 4 as soon as the shell has taken its icon.
    const auto shellHasIcon = [&] {
        NOTIFYICONDATAW unchanged{};
        unchanged.cbSize = sizeof unchanged;
        unchanged.hWnd = simple;
        return ::Shell_NotifyIconW(NIM_MODIFY, &unchanged) != FALSE;
    };
    return simple && automation::pollUntil(15000, shellHasIcon) &&
           automation::postMessage(simple, monitor::kTrayCallbackMessage,
                                   MAKEWPARAM(static_cast<WORD>(anchor.x), static_cast<WORD>(anchor.y)),
                                   MAKELPARAM(notification, 0));
}

std::string TidemarkSession::capture(HWND window, const std::string& name) {
    const std::string bin = automation::currentProgramFolder();
    const std::string folder = bin.substr(0, bin.find_last_of('\\')) + "\\captures";
    ::CreateDirectoryW(win32::toWide(folder).c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".png";
    return automation::captureWindowToPng(window, path) ? path : std::string();
}

std::string TidemarkSession::sid() { return system_.platform().accounts.processUserSid().value_or(""); }

std::string TidemarkSession::userName() { return system_.platform().accounts.currentUserName().value_or(""); }

} // namespace tidemark::e2e
