// Launcher backend: ShellExecuteW, its result passed back untouched.
#include "platform/win32/Win32Launcher.h"

#include <memory>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

// Empty means "not given": the shell then uses the default verb, no
// parameters and the current folder.
const wchar_t* optionalText(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

class Win32RunningProgram final : public platform::RunningProgram {
public:
    explicit Win32RunningProgram(HANDLE process) : process_(process) {}
    std::optional<std::uint32_t> exitCode() override {
        if (!process_ || ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) return std::nullopt;
        DWORD code = 0;
        if (!::GetExitCodeProcess(process_.get(), &code)) code = ::GetLastError();
        return static_cast<std::uint32_t>(code);
    }
    void end(std::uint32_t code) override {
        if (process_) ::TerminateProcess(process_.get(), code);
    }

private:
    UniqueKernelHandle process_;
};

template <typename Text>
void wipe(Text& text) {
    if (!text.empty()) ::SecureZeroMemory(&text[0], text.size() * sizeof(text[0]));
    text.clear();
}

// The input in the code page, with its line end; wiped by the caller.
std::string inputBytes(const std::string& input, std::uint32_t codePage) {
    std::wstring wide = toWide(input);
    std::string bytes;
    const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                        nullptr);
    if (n > 0) {
        // Room for the line end up front: a second allocation would leave a
        // copy behind.
        // UTF-8 goes with its byte-order mark, which tells the reader so.
        const std::size_t mark = codePage == CP_UTF8 ? 3 : 0;
        bytes.reserve(mark + static_cast<std::size_t>(n) + 2);
        bytes.assign(mark == 0 ? "" : "\xEF\xBB\xBF");
        bytes.resize(mark + static_cast<std::size_t>(n));
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &bytes[mark], n, nullptr,
                              nullptr);
        bytes += "\r\n";
    }
    wipe(wide);
    return bytes;
}

} // namespace

platform::StartedProgram Win32Launcher::startProgramWithInput(const std::string& file, const std::string& parameters,
                                                              int showCommand, const std::string& input,
                                                              std::uint32_t inputCodePage) {
    platform::StartedProgram out;
    // Only the read end is inherited, and only by this child.
    UniqueKernelHandle reader, writer;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!::CreatePipe(reader.receive(), writer.receive(), &inherited, kPipeBytes) ||
        !::SetHandleInformation(writer.get(), HANDLE_FLAG_INHERIT, 0)) {
        out.result = static_cast<std::intptr_t>(::GetLastError());
        return out;
    }
    SIZE_T listBytes = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &listBytes);
    std::vector<unsigned char> listBuffer(listBytes);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBuffer.data());
    HANDLE inheritedHandles[] = {reader.get()};
    if (!::InitializeProcThreadAttributeList(list, 1, 0, &listBytes)) {
        out.result = static_cast<std::intptr_t>(::GetLastError());
        return out;
    }
    struct ListGuard {
        LPPROC_THREAD_ATTRIBUTE_LIST list;
        ~ListGuard() { ::DeleteProcThreadAttributeList(list); }
    } guard{list};
    if (!::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inheritedHandles,
                                     sizeof inheritedHandles, nullptr, nullptr)) {
        out.result = static_cast<std::intptr_t>(::GetLastError());
        return out;
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = static_cast<WORD>(showCommand);
    startup.StartupInfo.hStdInput = reader.get();
    startup.lpAttributeList = list;
    const std::wstring application = toWide(file);
    std::wstring commandLine = L"\"" + application + L"\"";
    if (!parameters.empty()) commandLine += L" " + toWide(parameters);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo, &started)) {
        out.result = static_cast<std::intptr_t>(::GetLastError());
        return out;
    }
    ::CloseHandle(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    reader.reset();
    std::string bytes = inputBytes(input, inputCodePage);
    DWORD written = 0;
    const bool sent = bytes.empty() || (::WriteFile(writer.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                    &written, nullptr) &&
                                        written == bytes.size());
    const DWORD error = sent ? 0 : ::GetLastError();
    wipe(bytes);
    writer.reset();
    if (!sent) {
        // Without its input the program would go on with an empty one.
        ::TerminateProcess(process.get(), error);
        out.result = static_cast<std::intptr_t>(error);
        return out;
    }
    out.result = 42;
    out.program = std::make_unique<Win32RunningProgram>(process.release());
    return out;
}

platform::StartedProgram Win32Launcher::startProgram(platform::NativeWindow owner, const std::string& file,
                                                     const std::string& parameters, int showCommand) {
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParameters = toWide(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = optionalText(wideParameters);
    info.nShow = showCommand;
    platform::StartedProgram out;
    if (!::ShellExecuteExW(&info)) {
        const auto answer = reinterpret_cast<std::intptr_t>(info.hInstApp);
        out.result = answer > 0 && answer <= 32 ? answer : static_cast<std::intptr_t>(::GetLastError());
        return out;
    }
    // A program's start always gives a process; without one there is nothing
    // whose result could be read.
    if (!info.hProcess) {
        out.result = static_cast<std::intptr_t>(ERROR_INVALID_HANDLE);
        return out;
    }
    out.result = 42;
    out.program = std::make_unique<Win32RunningProgram>(info.hProcess);
    return out;
}

std::intptr_t Win32Launcher::shellExecute(platform::NativeWindow owner, const std::string& verb,
                                          const std::string& file, const std::string& parameters,
                                          const std::string& directory, int showCommand) {
    const std::wstring wideVerb = toWide(verb);
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParameters = toWide(parameters);
    const std::wstring wideDirectory = toWide(directory);
    const HINSTANCE result =
        ::ShellExecuteW(reinterpret_cast<HWND>(owner), optionalText(wideVerb), wideFile.c_str(),
                        optionalText(wideParameters), optionalText(wideDirectory), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

std::intptr_t Win32Launcher::shellExecuteAndWait(platform::NativeWindow owner, const std::string& verb,
                                                 const std::string& file, const std::string& parameters,
                                                 const std::string& directory, int showCommand,
                                                 std::uint32_t timeoutMs) {
    const std::wstring wideVerb = toWide(verb);
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParameters = toWide(parameters);
    const std::wstring wideDirectory = toWide(directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = optionalText(wideVerb);
    info.lpFile = wideFile.c_str();
    info.lpParameters = optionalText(wideParameters);
    info.lpDirectory = optionalText(wideDirectory);
    info.nShow = showCommand;
    if (!::ShellExecuteExW(&info)) {
        const auto answer = reinterpret_cast<std::intptr_t>(info.hInstApp);
        // The shell's small error codes where it gave one, else the system's.
        return answer > 0 && answer <= 32 ? answer : static_cast<std::intptr_t>(::GetLastError());
    }
    UniqueKernelHandle process(info.hProcess);
    if (process) {
        const std::uint64_t start = clock_.monotonicMs();
        while (::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT &&
               clock_.monotonicMs() - start < timeoutMs) {
            clock_.sleepMs(kPollMs);
        }
    }
    const auto answer = reinterpret_cast<std::intptr_t>(info.hInstApp);
    return answer > 32 ? answer : 42;
}

} // namespace tidemark::win32
