// The account running the program and its local groups, with the retry
// cycles that ride out a logon still in progress.
#pragma once
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark {

// Error levels of the group check.
namespace grouperr {
inline constexpr long None = 0;
inline constexpr long UserName = 1;
inline constexpr long GroupList = 2;
} // namespace grouperr

// The fixed messages callers show for the two levels.
inline constexpr const char* kUserNameFailedMessage = "現在のログオンユーザー名の取得に失敗しました";
inline constexpr const char* kUserGroupFailedMessage = "現在のログオンユーザーグループの取得に失敗しました";

class GetUsrCl {
public:
    explicit GetUsrCl(platform::Platform& platform) : platform_(platform) {}

    bool getUserName0(std::string& strUserName);
    bool getUserName1(std::string& strUserName, std::string& strLogonDomain, std::string& strBrowsDomain,
                      std::string& strLogonServer);
    std::vector<std::string> GetUserGroup(const std::string& strUserName, bool& bolSuccessFlag, long& lngErrNum);
    // Up to 50 cycles for the name, then up to 50 for the groups; each cycle
    // is five calls 1 ms apart and a 500 ms pause. On failure the list is the
    // single entry "Null" and lngErrLevel says which phase failed.
    std::vector<std::string> getThisUserGroup(bool& bolRetSuccessFlag, long& lngErrLevel, long& lngErrNum);
    // Membership of the running account in the group (exact comparison).
    bool JudgeThisUserGroup(const std::string& strJudgeUserGroup, bool& bolRetSuccessFlag, long& lngErrLevel,
                            long& lngErrNum);

private:
    platform::Platform& platform_;
};

} // namespace tidemark
