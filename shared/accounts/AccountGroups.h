// The account running the program and its local groups, with the retry
// cycles that ride out a logon still in progress.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark {

// Which phase of the group check failed.
enum class GroupCheckError { None, UserName, GroupList };

// The fixed messages callers show for the two failures.
inline constexpr const char* kUserNameFailedMessage = "現在のログオンユーザー名の取得に失敗しました";
inline constexpr const char* kUserGroupFailedMessage = "現在のログオンユーザーグループの取得に失敗しました";

struct GroupList {
    std::vector<std::string> groups;     // the single entry "Null" when the check failed
    GroupCheckError error = GroupCheckError::None;
    long status = 0;                     // the last failed group query's status
};

struct Membership {
    bool member = false;
    GroupCheckError error = GroupCheckError::None;
    long status = 0;
    bool succeeded() const { return error == GroupCheckError::None; }
};

class AccountGroups {
public:
    explicit AccountGroups(platform::Platform& platform) : platform_(platform) {}

    std::optional<std::string> userName();
    // The account's local groups, indirect membership included; the error
    // GroupList with the query's status when no list came back.
    GroupList localGroups(const std::string& userName);
    // Up to 50 cycles for the name, then up to 50 for the groups; each cycle
    // is five calls 1 ms apart and a 500 ms pause.
    GroupList currentUserGroups();
    // Membership of the running account in the group (exact comparison).
    Membership isMember(const std::string& group);

private:
    platform::Platform& platform_;
};

} // namespace tidemark
