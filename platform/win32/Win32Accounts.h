// Account facts of the running process from the security and network APIs.
#pragma once
#include "platform/Accounts.h"

namespace tidemark::win32 {

class Win32Accounts final : public platform::Accounts {
public:
    std::optional<std::string> currentUserName() override;
    platform::LocalGroupsResult localGroups(std::string_view userName) override;
    std::optional<platform::WorkstationUserInfo> workstationUser() override;
    std::optional<std::string> processUserSid() override;
    std::optional<std::uint32_t> processSessionId() override;
};

} // namespace tidemark::win32
