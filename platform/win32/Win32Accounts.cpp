// Accounts backend: user name, local groups, workstation user, token SID.
#include "platform/win32/Win32Accounts.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <vector>

namespace tidemark::win32 {

std::optional<std::string> Win32Accounts::currentUserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!::GetUserNameW(name, &size)) return std::nullopt;
    return fromWideBuffer(name);
}

platform::LocalGroupsResult Win32Accounts::localGroups(std::string_view userName) {
    const std::wstring user = toWide(userName);
    NetApiPtr<BYTE> buffer;
    DWORD entriesRead = 0;
    DWORD totalEntries = 0;
    const NET_API_STATUS status =
        ::NetUserGetLocalGroups(nullptr, user.c_str(), 0, LG_INCLUDE_INDIRECT, buffer.receive(),
                                MAX_PREFERRED_LENGTH, &entriesRead, &totalEntries);

    platform::LocalGroupsResult result;
    result.status = status;
    result.bufferReturned = static_cast<bool>(buffer);
    result.entriesRead = entriesRead;
    result.totalEntries = totalEntries;
    // A partial answer (more data) still carries the entries it read.
    if (buffer && (status == NERR_Success || status == ERROR_MORE_DATA)) {
        const auto* entries = reinterpret_cast<const LOCALGROUP_USERS_INFO_0*>(buffer.get());
        for (DWORD i = 0; i < entriesRead; ++i) {
            result.groups.push_back(fromWideBuffer(entries[i].lgrui0_name));
        }
    }
    return result;
}

std::optional<platform::WorkstationUserInfo> Win32Accounts::workstationUser() {
    NetApiPtr<BYTE> buffer;
    if (::NetWkstaUserGetInfo(nullptr, 1, buffer.receive()) != NERR_Success || !buffer) {
        return std::nullopt;
    }
    const auto* info = reinterpret_cast<const WKSTA_USER_INFO_1*>(buffer.get());
    platform::WorkstationUserInfo out;
    out.userName = fromWideBuffer(info->wkui1_username);
    out.logonDomain = fromWideBuffer(info->wkui1_logon_domain);
    out.otherDomains = fromWideBuffer(info->wkui1_oth_domains);
    out.logonServer = fromWideBuffer(info->wkui1_logon_server);
    return out;
}

std::optional<std::string> Win32Accounts::processUserSid() {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.receive())) {
        return std::nullopt;
    }
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    // DWORD-sized storage keeps the SID inside suitably aligned.
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    if (!::GetTokenInformation(token.get(), TokenUser, storage.data(),
                               static_cast<DWORD>(storage.size() * sizeof(DWORD)), &size)) {
        return std::nullopt;
    }
    const auto* user = reinterpret_cast<const TOKEN_USER*>(storage.data());
    LocalPtr<wchar_t> text;
    if (!::ConvertSidToStringSidW(user->User.Sid, text.receive())) return std::nullopt;
    return fromWideBuffer(text.get());
}

std::optional<std::uint32_t> Win32Accounts::processSessionId() {
    DWORD session = 0;
    if (!::ProcessIdToSessionId(::GetCurrentProcessId(), &session)) return std::nullopt;
    return static_cast<std::uint32_t>(session);
}

} // namespace tidemark::win32
