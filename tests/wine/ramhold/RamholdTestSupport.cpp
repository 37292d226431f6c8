#include "RamholdTestSupport.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

#include <stdexcept>
#include <vector>

namespace tidemark::ramhold::test {

using win32::fromWide;
using win32::toWide;

std::string programFolder() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    const std::wstring path(buffer.data(), length);
    return fromWide(path.substr(0, path.find_last_of(L'\\') + 1));
}

bool waitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (done()) return true;
        if (::GetTickCount64() - start >= timeoutMs) return done();
        ::Sleep(10);
    }
}

ChildResult runChild(const std::string& program, const std::string& arguments, std::uint32_t timeoutMs) {
    std::wstring commandLine = L"\"" + toWide(program) + L"\" " + toWide(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const ULONGLONG start = ::GetTickCount64();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        throw std::runtime_error("cannot start " + program);
    }
    win32::UniqueKernelHandle process(info.hProcess);
    win32::UniqueKernelHandle thread(info.hThread);
    ChildResult result;
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        ::WaitForSingleObject(process.get(), 5000);
        result.elapsedMs = ::GetTickCount64() - start;
        return result;
    }
    result.elapsedMs = ::GetTickCount64() - start;
    result.finished = true;
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

TempFolder::TempFolder() {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0) throw std::runtime_error("GetTempPathW failed");
    std::wstring folder(temp, length);
    if (folder.back() != L'\\') folder += L'\\';
    folder += L"tm-ramhold-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("CreateDirectoryW failed");
    path_ = fromWide(folder) + "\\";
}

TempFolder::~TempFolder() {
    const std::wstring folder = toWide(path_);
    WIN32_FIND_DATAW data{};
    win32::UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") ::DeleteFileW((folder + name).c_str());
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace tidemark::ramhold::test
