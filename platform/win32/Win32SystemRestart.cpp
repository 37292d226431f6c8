// SystemRestart backend: the shutdown privilege, then an orderly reboot.
// EWX_FORCE is never given: it would end every user's programs unsaved.
#include "platform/win32/Win32SystemRestart.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<std::uint32_t> Win32SystemRestart::restart() {
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        UniqueKernelHandle owned(token);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // A failure here shows as ERROR_PRIVILEGE_NOT_HELD from the restart.
        if (::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            ::AdjustTokenPrivileges(owned.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
    if (::ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED)) return std::nullopt;
    return static_cast<std::uint32_t>(::GetLastError());
}

} // namespace tidemark::win32
