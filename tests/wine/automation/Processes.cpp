#include "automation/Processes.h"

#include "automation/Timing.h"
#include "platform/win32/Win32Text.h"

#include <tlhelp32.h>

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

StartResult startProcess(const std::string& exePath, const std::string& arguments, const std::string& workingDir) {
    StartResult result;
    std::string commandLine = quoteArgument(exePath);
    if (!arguments.empty()) commandLine += " " + arguments;
    std::wstring wideCommandLine = win32::toWide(commandLine);   // CreateProcessW may write to it
    const std::wstring wideExe = win32::toWide(exePath);
    const std::wstring wideFolder = win32::toWide(workingDir);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(wideExe.c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
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

RunResult run(const std::string& exePath, const std::string& arguments, DWORD timeoutMs) {
    RunResult result;
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    win32::UniqueKernelHandle readEnd;
    win32::UniqueKernelHandle writeEnd;
    if (!::CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0)) {
        result.error = ::GetLastError();
        return result;
    }
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = quoteArgument(exePath);
    if (!arguments.empty()) commandLine += " " + arguments;
    std::wstring wideCommandLine = win32::toWide(commandLine);
    const std::wstring wideExe = win32::toWide(exePath);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(wideExe.c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &info)) {
        result.error = ::GetLastError();
        return result;
    }
    ::CloseHandle(info.hThread);
    Process process(win32::UniqueKernelHandle(info.hProcess), info.dwProcessId);
    // Only the child holds the write end now, so the pipe ends with it.
    writeEnd.reset();

    // Drain as it comes, or a chatty program blocks on a full pipe.
    const Deadline deadline(timeoutMs);
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr)) break;   // closed: done
        if (available > 0) {
            DWORD got = 0;
            if (!::ReadFile(readEnd.get(), buffer, sizeof(buffer), &got, nullptr) || got == 0) break;
            result.output.append(buffer, got);
            continue;
        }
        if (deadline.expired()) break;
        if (!process.isRunning()) {
            // Exited; whatever it wrote is in the pipe already.
            if (!::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) || available == 0) break;
            continue;
        }
        ::Sleep(10);
    }
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
