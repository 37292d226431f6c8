// Single-instance backend: a named mutex in the session's local namespace,
// so that each logged-on user may run one copy.
#include "platform/win32/Win32SingleInstance.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

Win32SingleInstance::~Win32SingleInstance() {
    for (void* h : held_) ::CloseHandle(static_cast<HANDLE>(h));
}

bool Win32SingleInstance::anotherIsRunning(const std::string& name) {
    std::wstring object = L"Local\\Tidemark.Instance.";
    for (wchar_t c : toWide(name)) object += (c == L'\\') ? L'_' : c;
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, object.c_str());
    const DWORD error = ::GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED;   // exists, made by someone we may not open
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return true;
    }
    held_.push_back(mutex);
    return false;
}

} // namespace tidemark::win32
