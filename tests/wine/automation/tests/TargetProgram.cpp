#include "TargetProgram.h"

#include "platform/win32/Win32Text.h"

#include <atomic>

namespace tidemark::automation::test {
namespace {

std::atomic<unsigned> scratchCounter{0};

std::string readWholeFile(const std::string& path) {
    win32::UniqueKernelHandle file(::CreateFileW(win32::toWide(path).c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

} // namespace

const char kTargetCaption[] = "自動操作テスト";
const char kTrayClass[] = "TidemarkAutomationTray";

std::string targetExePath() { return currentProgramFolder() + "\\tm_automation_target.exe"; }
std::string automateExePath() { return currentProgramFolder() + "\\tm_automate.exe"; }

std::string scratchFilePath(const std::string& suffix) {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::string folder = win32::fromWide(std::wstring_view(temp, length));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + "\\tm-automation-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++scratchCounter) + suffix;
}

std::string captureFolder() {
    const std::string folder = "automation-captures";
    ::CreateDirectoryW(win32::toWide(folder).c_str(), nullptr);
    return folder;
}

TargetProgram::TargetProgram(const std::string& extraArguments) : logPath_(scratchFilePath(".log")) {
    std::string arguments = "--log " + quoteArgument(logPath_);
    if (!extraArguments.empty()) arguments += " " + extraArguments;
    process_ = start(targetExePath(), arguments);
    if (!process_) return;
    WindowCriteria dialog;
    dialog.caption = kTargetCaption;
    dialog.visibleOnly = true;
    dialog_ = waitForProgramWindow(process_, dialog, kStartTimeoutMs);
    WindowCriteria tray;
    tray.className = kTrayClass;
    tray.processId = process_.id();
    tray_ = waitForWindow(tray, kEventTimeoutMs);
    // The log's first line: the message loop is running.
    if (dialog_ != nullptr && !waitForLogLine("started")) dialog_ = nullptr;
}

TargetProgram::~TargetProgram() {
    process_.terminate();
    ::DeleteFileW(win32::toWide(logPath_).c_str());
}

std::vector<std::string> TargetProgram::logLines() const {
    std::vector<std::string> lines;
    const std::string bytes = readWholeFile(logPath_);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) break;   // a line still being written
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool TargetProgram::waitForLogLine(const std::string& line, DWORD timeoutMs) const {
    return pollUntil(timeoutMs, [&] {
        for (const std::string& written : logLines()) {
            if (written == line) return true;
        }
        return false;
    });
}

} // namespace tidemark::automation::test
