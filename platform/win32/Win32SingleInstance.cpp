// Single-instance backend: a named mutex in the session's local namespace,
// so that each logged-on user may run one copy; or in the global namespace
// for a copy that must be unique on the machine.
#include "platform/win32/Win32SingleInstance.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

// SYSTEM and the administrators own the machine-wide mutex; everybody else
// may only wait on it, so that no ordinary user can hold the name.
constexpr const wchar_t* kMachineMutexSecurity = L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100000;;;WD)";

std::wstring objectName(const wchar_t* prefix, const std::string& name) {
    std::wstring object = prefix;
    for (wchar_t c : toWide(name)) object += (c == L'\\') ? L'_' : c;
    return object;
}

} // namespace

Win32SingleInstance::~Win32SingleInstance() {
    for (void* h : held_) ::CloseHandle(static_cast<HANDLE>(h));
}

bool Win32SingleInstance::registerMutex(const std::wstring& object, SECURITY_ATTRIBUTES* attributes) {
    HANDLE mutex = ::CreateMutexW(attributes, FALSE, object.c_str());
    const DWORD error = ::GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED;   // exists, made by someone we may not open
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return true;
    }
    held_.push_back(mutex);
    return false;
}

bool Win32SingleInstance::anotherIsRunning(const std::string& name) {
    return registerMutex(objectName(L"Local\\Tidemark.Instance.", name), nullptr);
}

bool Win32SingleInstance::anotherIsRunningOnMachine(const std::string& name) {
    LocalPtr<void> descriptor;
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof(attributes);
    attributes.bInheritHandle = FALSE;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(kMachineMutexSecurity, SDDL_REVISION_1,
                                                               descriptor.receive(), nullptr)) {
        attributes.lpSecurityDescriptor = descriptor.get();
    }
    return registerMutex(objectName(L"Global\\Tidemark.Instance.", name), &attributes);
}

} // namespace tidemark::win32
