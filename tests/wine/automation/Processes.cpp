#include "automation/Processes.h"

#include "automation/Timing.h"
#include "platform/win32/Win32Text.h"

#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace tidemark::automation {
namespace {

// How long terminate and the destructor wait for the program to be gone.
constexpr DWORD kTerminateWaitMs = 5000;

} // namespace

Process::Process(win32::UniqueKernelHandle handle, DWORD id) : handle_(std::move(handle)), id_(id) {}

Process::~Process() {
    if (isRunning()) terminate();
}

Process::Process(Process&& other) noexcept : handle_(std::move(other.handle_)), id_(other.id_) { other.id_ = 0; }

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (isRunning()) terminate();
        handle_ = std::move(other.handle_);
        id_ = other.id_;
        other.id_ = 0;
    }
    return *this;
}

std::optional<DWORD> Process::waitForExit(DWORD timeoutMs) const {
    if (!handle_) return std::nullopt;
    if (::WaitForSingleObject(handle_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(handle_.get(), &code)) return std::nullopt;
    return code;
}

bool Process::isRunning() const {
    return handle_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::terminate(UINT exitCode) {
    if (!handle_) return false;
    if (!isRunning()) return true;
    ::TerminateProcess(handle_.get(), exitCode);
    return ::WaitForSingleObject(handle_.get(), kTerminateWaitMs) == WAIT_OBJECT_0;
}

void Process::detach() {
    handle_.reset();
    id_ = 0;
}

HWND waitForProgramWindow(const Process& program, WindowCriteria criteria, DWORD timeoutMs) {
    if (!program) {
        std::fprintf(stderr, "waitForProgramWindow: the program was not started\n");
        return nullptr;
    }
    criteria.processId = program.id();
    const Deadline deadline(timeoutMs);
    bool ended = false;
    HWND window = nullptr;
    for (;;) {
        // Whether it had ended is read first: a window that came just before
        // the end is still found.
        ended = !program.isRunning();
        window = findWindow(criteria);
        if (window || ended || deadline.expired()) break;
        ::Sleep(deadline.remainingMs() < kPollIntervalMs ? deadline.remainingMs() : kPollIntervalMs);
    }
    if (window) return window;
    if (ended) {
        std::fprintf(stderr, "waitForProgramWindow: process %lu ended with exit code 0x%08lx before its window\n",
                     static_cast<unsigned long>(program.id()),
                     static_cast<unsigned long>(program.waitForExit(0).value_or(0)));
        return nullptr;
    }
    std::fprintf(stderr, "waitForProgramWindow: process %lu is running without the window after %lu ms; its windows:\n",
                 static_cast<unsigned long>(program.id()), static_cast<unsigned long>(timeoutMs));
    for (const WindowInfo& info : listWindows(program.id())) std::fprintf(stderr, "  %s\n", formatWindowInfo(info).c_str());
    return nullptr;
}

StartResult startProcess(const std::string& exePath, const std::string& arguments, const std::string& workingDir,
                         StdStreams streams) {
    StartResult result;
    std::string commandLine = quoteArgument(exePath);
    if (!arguments.empty()) commandLine += " " + arguments;
    std::wstring wideCommandLine = win32::toWide(commandLine);   // CreateProcessW may write to it
    const std::wstring wideExe = win32::toWide(exePath);
    const std::wstring wideFolder = win32::toWide(workingDir);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    win32::UniqueKernelHandle nullDevice;
    if (streams == StdStreams::None) {
        // Windows: no handles, nothing inherited. Wine replaces the child's
        // Unix descriptors only for handles it can map to a file and leaves
        // the caller's in place otherwise, so there it gets the null device.
        if (runningUnderWine()) {
            nullDevice.reset(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
        }
        const HANDLE none = nullDevice ? nullDevice.get() : INVALID_HANDLE_VALUE;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = none;
        startup.hStdOutput = none;
        startup.hStdError = none;
    }
    // Nor the caller's console, whose host would otherwise live on with it.
    const DWORD flags = streams == StdStreams::None ? DETACHED_PROCESS : 0;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(wideExe.c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                          wideFolder.empty() ? nullptr : wideFolder.c_str(), &startup, &info)) {
        result.error = ::GetLastError();
        return result;
    }
    ::CloseHandle(info.hThread);
    result.process = Process(win32::UniqueKernelHandle(info.hProcess), info.dwProcessId);
    return result;
}

Process start(const std::string& exePath, const std::string& arguments, const std::string& workingDir) {
    return std::move(startProcess(exePath, arguments, workingDir).process);
}

namespace {

// One end of a child's output: the pipe, what came through, whether it closed.
struct OutputPipe {
    win32::UniqueKernelHandle readEnd;
    win32::UniqueKernelHandle writeEnd;   // the child's; ours is closed after the start
    std::string* text = nullptr;
    bool closed = false;

    bool open(std::string* into) {
        text = into;
        SECURITY_ATTRIBUTES inheritable{};
        inheritable.nLength = sizeof(inheritable);
        inheritable.bInheritHandle = TRUE;
        if (!::CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0)) return false;
        return ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0) != 0;
    }

    // Takes what is there; false when nothing was.
    bool drain() {
        if (closed) return false;
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr)) {
            closed = true;
            return false;
        }
        if (available == 0) return false;
        char buffer[4096];
        DWORD got = 0;
        if (!::ReadFile(readEnd.get(), buffer, sizeof(buffer), &got, nullptr) || got == 0) {
            closed = true;
            return false;
        }
        text->append(buffer, got);
        return true;
    }
};

} // namespace

RunResult run(const std::string& exePath, const std::string& arguments, DWORD timeoutMs, const RunOptions& options) {
    RunResult result;
    OutputPipe output;
    OutputPipe errors;
    if (!output.open(&result.output) || !errors.open(&result.errors)) {
        result.error = ::GetLastError();
        return result;
    }
    // Standard input: the child's end inherited, ours written and closed
    // once it runs. (Small inputs fit the pipe's buffer.)
    win32::UniqueKernelHandle inputRead, inputWrite;
    if (options.input) {
        SECURITY_ATTRIBUTES inheritable{};
        inheritable.nLength = sizeof(inheritable);
        inheritable.bInheritHandle = TRUE;
        if (!::CreatePipe(inputRead.receive(), inputWrite.receive(), &inheritable, 0) ||
            !::SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0)) {
            result.error = ::GetLastError();
            return result;
        }
    }

    std::string commandLine = quoteArgument(exePath);
    if (!arguments.empty()) commandLine += " " + arguments;
    std::wstring wideCommandLine = win32::toWide(commandLine);
    const std::wstring wideExe = win32::toWide(exePath);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = options.input ? inputRead.get() : ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.writeEnd.get();
    startup.hStdError = errors.writeEnd.get();
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(wideExe.c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &info)) {
        result.error = ::GetLastError();
        return result;
    }
    ::CloseHandle(info.hThread);
    Process process(win32::UniqueKernelHandle(info.hProcess), info.dwProcessId);
    // Only the child holds the write ends now, so the pipes end with it.
    output.writeEnd.reset();
    errors.writeEnd.reset();
    if (options.input) {
        inputRead.reset();
        DWORD written = 0;
        if (!options.input->empty())
            ::WriteFile(inputWrite.get(), options.input->data(), static_cast<DWORD>(options.input->size()), &written,
                        nullptr);
        inputWrite.reset();
    }

    // Drain as it comes, or a chatty program blocks on a full pipe. Standard
    // output closes when the program and all it passed it to are gone; after
    // the program itself has ended, wait only briefly for that.
    constexpr ULONGLONG kAfterExitMs = 500;
    const Deadline deadline(timeoutMs);
    ULONGLONG exitedAt = 0;
    for (;;) {
        if (options.answerMessageBoxes) {
            for (HWND box : findMessageBoxes(process.id())) {
                if (auto info = readMessageBox(box)) {
                    if (info->buttons.empty() || info->text.empty()) continue;   // still being set up
                    result.boxes.push_back(*info);
                    answerMessageBox(box, info->buttons.front());
                }
            }
        }
        const bool gotOutput = output.drain();
        const bool gotErrors = errors.drain();
        if (gotOutput || gotErrors) continue;
        if (output.closed && (errors.closed || !process.isRunning())) break;
        if (deadline.expired()) break;
        if (!process.isRunning()) {
            if (exitedAt == 0) exitedAt = ::GetTickCount64();
            if (::GetTickCount64() - exitedAt > kAfterExitMs) break;
        }
        ::Sleep(10);
    }
    result.outputClosed = output.closed;
    result.exitCode = process.waitForExit(deadline.expired() ? 0 : deadline.remainingMs());
    return result;   // a program still running is ended here
}

std::string quoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote would escape it.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::vector<DWORD> processIdsByExeName(const std::string& exeName) {
    std::vector<DWORD> ids;
    win32::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    const std::wstring wanted = win32::toWide(exeName);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::CompareStringOrdinal(entry.szExeFile, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

bool runningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string currentProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const size_t slash = path.find_last_of(L"\\/");
            return win32::fromWide(slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace tidemark::automation
