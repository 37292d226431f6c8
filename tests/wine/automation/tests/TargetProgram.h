// The test target started for one test: its process, its windows and the
// log it writes, removed again afterwards.
#pragma once
#include "AutomationTargetIds.h"
#include "automation/Automation.h"

#include <string>
#include <vector>

namespace tidemark::automation::test {

// Generous for a Wine start, still far below the test's own time-out.
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kEventTimeoutMs = 5000;

extern const char kTargetCaption[];   // the dialog's caption
extern const char kTrayClass[];

std::string targetExePath();
std::string automateExePath();
// A fresh file name under the temporary folder (not created).
std::string scratchFilePath(const std::string& suffix);
// Under the build folder, kept for review.
std::string captureFolder();

class TargetProgram {
public:
    explicit TargetProgram(const std::string& extraArguments = std::string());
    ~TargetProgram();
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;

    // False when the program or its windows did not come up.
    bool ready() const { return process_.valid() && dialog_ != nullptr && tray_ != nullptr; }
    Process& process() { return process_; }
    DWORD pid() const { return process_.id(); }
    HWND dialog() const { return dialog_; }
    HWND tray() const { return tray_; }
    HWND control(int id) const { return findControl(dialog_, id); }

    std::vector<std::string> logLines() const;
    bool waitForLogLine(const std::string& line, DWORD timeoutMs = kEventTimeoutMs) const;

private:
    std::string logPath_;
    Process process_;
    HWND dialog_ = nullptr;
    HWND tray_ = nullptr;
};

} // namespace tidemark::automation::test
