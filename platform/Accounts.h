// Who runs the program: account name, local groups, the process token's SID.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::platform {

// One answer of the local-group query (level 0, indirect membership included).
struct LocalGroupsResult {
    std::uint32_t status = 0;       // the call's return code (0, 234 = more data, ...)
    bool bufferReturned = false;    // a result buffer came back (it is then freed)
    std::vector<std::string> groups;
    std::uint32_t entriesRead = 0;
    std::uint32_t totalEntries = 0;
};

struct WorkstationUserInfo {
    std::string userName, logonDomain, otherDomains, logonServer;
};

class Accounts {
public:
    virtual ~Accounts() = default;
    // The account running this process; nullopt when the system call fails.
    virtual std::optional<std::string> currentUserName() = 0;
    virtual LocalGroupsResult localGroups(std::string_view userName) = 0;
    virtual std::optional<WorkstationUserInfo> workstationUser() = 0;
    // The user SID of this process's own token in string form ("S-1-5-21-...").
    virtual std::optional<std::string> processUserSid() = 0;
    // The logon session (terminal services session) this process runs in.
    virtual std::optional<std::uint32_t> processSessionId() = 0;
};

} // namespace tidemark::platform
