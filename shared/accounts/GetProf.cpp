#include "shared/accounts/GetProf.h"

#include "shared/accounts/OpenReg.h"

namespace tidemark {

using platform::RegistryRoot;

bool GetProf::GetUserSid(long& lngNumOfUserSid, long& lngErrNumber) {
    lngErrNumber = -1;
    OpenReg reg(platform_);
    bool opened = false;
    auto key = reg.OpenRegTask(RegistryRoot::LocalMachine, kProfileListKey, opened);
    if (!opened) {
        state_.strUserSid.clear();
        state_.lngUserSidCount = lngNumOfUserSid = 0;
        lngErrNumber = 1;
        return false;
    }
    bool listed = false;
    long count = 0;
    state_.strUserSid = reg.OpenEnumRegKeyTask(*key, count, listed);
    state_.lngUserSidCount = lngNumOfUserSid = count;
    if (!listed) {
        lngErrNumber = 2;
        return false;
    }
    return true;
}

bool GetProf::GetUserProfile(const std::string& sid, std::string& strProfUserName, long& lngLogonFlag,
                             bool& bolCurrentUserFlag, long& lngErrNumber) {
    OpenReg reg(platform_);
    bool opened = false;
    auto key = reg.OpenRegTask(RegistryRoot::LocalMachine, std::string(kProfileListKey) + "\\" + sid, opened);
    if (!opened) {
        lngErrNumber = 1;
        return false;
    }
    std::string text, raw;
    if (!reg.OpenRegValueTask(*key, "ProfileImagePath", text, raw)) {
        lngErrNumber = 2;
        return false;
    }
    const auto slash = text.find_last_of('\\');
    strProfUserName = slash == std::string::npos ? text : text.substr(slash + 1);
    if (!reg.OpenRegValueTask(*key, "RefCount", text, raw)) {
        lngErrNumber = 3;
        return false;
    }
    // The first byte is the count's low-order byte: 256 reads as 0.
    lngLogonFlag = raw.empty() ? 0 : static_cast<unsigned char>(raw[0]);
    if (lngLogonFlag != 0) {
        std::string appData;
        long err = 0;
        bolCurrentUserFlag = GetCurrentUser(sid, appData, err);
    }
    lngErrNumber = 0;
    return true;
}

bool GetProf::GetCurrentUser(const std::string& sid, std::string& strRefUserAppData, long& lngErrNumber) {
    if (sid.size() <= kServiceSidMaxLength) {
        lngErrNumber = 1;
        return false;
    }
    OpenReg reg(platform_);
    bool opened = false;
    auto key = reg.OpenRegTask(RegistryRoot::Users, sid + "\\Volatile Environment", opened);
    if (!opened) {
        lngErrNumber = 2;
        return false;
    }
    std::string raw;
    reg.OpenRegValueTask(*key, "APPDATA", strRefUserAppData, raw);
    lngErrNumber = 0;
    return true;
}

std::string GetProf::GetUserGroupName() {
    const platform::LocalGroupsResult r = platform_.accounts.localGroups(state_.strLogonUserName);
    return r.groups.empty() ? std::string() : r.groups.back();
}

} // namespace tidemark
