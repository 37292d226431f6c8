// Access-control backend: adding an Everyone entry to a file's access list.
#include "platform/win32/Win32AccessControl.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

bool Win32AccessControl::grantEveryoneFullControl(const std::string& path) {
    std::wstring widePath = toWide(path);

    PACL oldDacl = nullptr;   // points into descriptor
    LocalPtr<void> descriptor;
    if (::GetNamedSecurityInfoW(widePath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &oldDacl, nullptr, descriptor.receive()) != ERROR_SUCCESS) {
        return false;
    }

    BYTE worldSid[SECURITY_MAX_SID_SIZE] = {};
    DWORD sidSize = sizeof(worldSid);
    if (!::CreateWellKnownSid(WinWorldSid, nullptr, worldSid, &sidSize)) return false;

    EXPLICIT_ACCESS_W entry{};
    entry.grfAccessPermissions = FILE_ALL_ACCESS;
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = reinterpret_cast<LPWSTR>(worldSid);

    // Merged into the existing list: every other entry stays as it was.
    LocalPtr<ACL> newDacl;
    if (::SetEntriesInAclW(1, &entry, oldDacl, newDacl.receive()) != ERROR_SUCCESS) return false;

    return ::SetNamedSecurityInfoW(&widePath[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, newDacl.get(), nullptr) == ERROR_SUCCESS;
}

} // namespace tidemark::win32
