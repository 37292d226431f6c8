// The machine's user profiles, from the registry's profile list.
#pragma once
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

inline constexpr const char* kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// SIDs of this length or shorter are built-in service accounts.
inline constexpr std::size_t kServiceSidMaxLength = 24;

class GetProf {
public:
    GetProf(platform::Platform& platform, ProgramState& state) : platform_(platform), state_(state) {}

    // Fills state.strUserSid and lngUserSidCount. lngErrNumber: 1 the key did
    // not open, 2 the enumeration failed, else -1.
    bool GetUserSid(long& lngNumOfUserSid, long& lngErrNumber);
    // lngErrNumber: 0 success, 1 key not opened, 2 "ProfileImagePath" not
    // read, 3 "RefCount" not read. bolCurrentUserFlag is set only for a
    // loaded profile; otherwise the caller's value stays.
    bool GetUserProfile(const std::string& strSidUserRegKey, std::string& strProfUserName, long& lngLogonFlag,
                        bool& bolCurrentUserFlag, long& lngErrNumber);
    // True when the SID has a volatile environment (an interactive logon).
    // lngErrNumber: 1 the SID is a service account's, 2 the key did not open.
    bool GetCurrentUser(const std::string& strSidUserRegKey, std::string& strRefUserAppData, long& lngErrNumber);
    // The last local group of the logon user (indirect membership included).
    std::string GetUserGroupName();

private:
    platform::Platform& platform_;
    ProgramState& state_;
};

} // namespace tidemark
