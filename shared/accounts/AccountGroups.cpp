#include "shared/accounts/AccountGroups.h"

namespace tidemark {
namespace {
constexpr int kCallsPerCycle = 5;
constexpr int kMaxCycles = 50;
constexpr std::uint32_t kCyclePauseMs = 500;
// A paged answer is asked again until it is whole; this bound keeps a
// misbehaving answer from spinning for ever.
constexpr int kMaxPagedRepeats = 1000;
} // namespace

std::optional<std::string> AccountGroups::userName() { return platform_.accounts.currentUserName(); }

GroupList AccountGroups::localGroups(const std::string& userName) {
    platform::LocalGroupsResult r;
    for (int repeat = 0; repeat < kMaxPagedRepeats; ++repeat) {
        r = platform_.accounts.localGroups(userName);
        if (r.entriesRead == r.totalEntries) break;
        platform_.clock.sleepMs(1);
    }
    GroupList result;
    if (!r.bufferReturned) {
        result.error = GroupCheckError::GroupList;
        result.status = static_cast<long>(r.status);
        return result;
    }
    result.groups = r.groups;
    return result;
}

GroupList AccountGroups::currentUserGroups() {
    auto& clock = platform_.clock;
    GroupList result;
    std::optional<std::string> name;
    for (int cycles = 0;;) {
        for (int i = 0; i < kCallsPerCycle; ++i) {
            name = userName();
            clock.sleepMs(1);
        }
        clock.sleepMs(kCyclePauseMs);
        if (++cycles >= kMaxCycles) {
            result.groups = {"Null"};
            result.error = GroupCheckError::UserName;
            return result;
        }
        if (name) break;
    }
    for (int cycles = 0;;) {
        GroupList groups;
        for (int i = 0; i < kCallsPerCycle; ++i) {
            groups = localGroups(*name);
            if (groups.error != GroupCheckError::None) result.status = groups.status;
            clock.sleepMs(1);
        }
        clock.sleepMs(kCyclePauseMs);
        if (++cycles >= kMaxCycles) {
            result.groups = {"Null"};
            result.error = GroupCheckError::GroupList;
            return result;
        }
        if (groups.error == GroupCheckError::None) {
            result.groups = std::move(groups.groups);
            return result;
        }
    }
}

Membership AccountGroups::isMember(const std::string& group) {
    const GroupList list = currentUserGroups();
    Membership result;
    result.error = list.error;
    result.status = list.status;
    if (list.error != GroupCheckError::None) return result;
    for (const auto& g : list.groups) {
        if (g == group) {
            result.member = true;
            return result;
        }
        platform_.clock.sleepMs(1);
    }
    return result;
}

} // namespace tidemark
