// Programs under test: started, watched and always ended, so a failing test
// never leaves one behind.
#pragma once
#include "platform/win32/Handles.h"
#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

#include "automation/MessageBoxes.h"
#include "automation/TopLevelWindows.h"

namespace tidemark::automation {

class Process {
public:
    Process() = default;
    Process(win32::UniqueKernelHandle handle, DWORD id);
    // Ends the program if it is still running.
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool valid() const { return handle_.valid(); }
    explicit operator bool() const { return valid(); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return handle_.get(); }

    // The exit code once the program has ended, nullopt if it is still
    // running when the time is up.
    std::optional<DWORD> waitForExit(DWORD timeoutMs) const;
    bool isRunning() const;
    // Ends the program with the given exit code and waits briefly for it.
    bool terminate(UINT exitCode = 1);
    // Leaves the program running when this object goes (for the command line).
    void detach();

private:
    win32::UniqueKernelHandle handle_;
    DWORD id_ = 0;
};

enum class StdStreams {
    Inherit,   // the program writes where the caller does (test logs)
    None,      // nothing: a program left running holds no pipe of the caller
};

struct StartResult {
    Process process;
    DWORD error = 0;   // GetLastError of CreateProcessW when it failed
};

// CreateProcessW. arguments are appended to the quoted program path as
// given (see quoteArgument); an empty workingDir means the caller's folder.
// Wine hands the caller's standard streams to every program it starts, so a
// program meant to outlive the caller needs StdStreams::None, or a shell
// reading the caller's output waits for that program too.
StartResult startProcess(const std::string& exePath, const std::string& arguments = std::string(),
                         const std::string& workingDir = std::string(), StdStreams streams = StdStreams::Inherit);
// The same, with only the process (invalid when it could not be started).
Process start(const std::string& exePath, const std::string& arguments = std::string(),
              const std::string& workingDir = std::string());

struct RunResult {
    std::optional<DWORD> exitCode;   // nullopt: not started, or ended by the time-out
    std::string output;              // standard output, as written
    std::string errors;              // standard error
    // False when something the program started still holds its standard
    // output. (Under Wine every started program keeps its starter's Unix
    // standard error, so that one is not waited for.)
    bool outputClosed = false;
    DWORD error = 0;                 // why it could not be started
    std::vector<MessageBoxInfo> boxes;   // the message boxes answered, in order
};
struct RunOptions {
    // Standard input: these bytes, then the end of input. nullopt: the
    // caller's own standard input.
    std::optional<std::string> input;
    // Every message box the program shows is read and answered with its
    // first button.
    bool answerMessageBoxes = false;
};
// The first window of a started program that matches criteria (its process
// id is filled in), waited for. It stops waiting when the program ends; when
// no window comes, what it saw instead goes to standard error: the exit code,
// or the program's windows at the time-out.
HWND waitForProgramWindow(const Process& program, WindowCriteria criteria, DWORD timeoutMs);

// Runs a console program to its end with its output and errors collected;
// ends it when it runs longer than timeoutMs.
RunResult run(const std::string& exePath, const std::string& arguments, DWORD timeoutMs,
              const RunOptions& options = RunOptions());

// One word by the Windows command-line rules: quotes and the backslashes
// before them escaped, so any text arrives as it was.
std::string quoteArgument(const std::string& argument);

// Running processes whose executable file name (no folder) matches,
// case-insensitively, e.g. "Tidemark.exe".
std::vector<DWORD> processIdsByExeName(const std::string& exeName);

// Wine's ntdll exports its version; Windows' does not.
bool runningUnderWine();

// The folder of the running program, without a trailing backslash.
std::string currentProgramFolder();

} // namespace tidemark::automation
