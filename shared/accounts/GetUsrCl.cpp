#include "shared/accounts/GetUsrCl.h"

namespace tidemark {
namespace {
constexpr int kCallsPerCycle = 5;
constexpr int kMaxCycles = 50;
constexpr std::uint32_t kCyclePauseMs = 500;
// A paged answer is asked again until it is whole; this bound keeps a
// misbehaving answer from spinning for ever.
constexpr int kMaxPagedRepeats = 1000;
} // namespace

bool GetUsrCl::getUserName0(std::string& strUserName) {
    const auto name = platform_.accounts.currentUserName();
    strUserName = name.value_or(std::string());
    return name.has_value();
}

bool GetUsrCl::getUserName1(std::string& strUserName, std::string& strLogonDomain, std::string& strBrowsDomain,
                            std::string& strLogonServer) {
    const auto info = platform_.accounts.workstationUser();
    if (!info) return false;
    strUserName = info->userName;
    strLogonDomain = info->logonDomain;
    strBrowsDomain = info->otherDomains;
    strLogonServer = info->logonServer;
    return true;
}

std::vector<std::string> GetUsrCl::GetUserGroup(const std::string& strUserName, bool& bolSuccessFlag,
                                                long& lngErrNum) {
    platform::LocalGroupsResult r;
    for (int repeat = 0; repeat < kMaxPagedRepeats; ++repeat) {
        r = platform_.accounts.localGroups(strUserName);
        if (r.entriesRead == r.totalEntries) break;
        platform_.clock.sleepMs(1);
    }
    bolSuccessFlag = r.bufferReturned;
    if (!r.bufferReturned) {
        lngErrNum = static_cast<long>(r.status);
        return {};
    }
    return r.groups;
}

std::vector<std::string> GetUsrCl::getThisUserGroup(bool& bolRetSuccessFlag, long& lngErrLevel, long& lngErrNum) {
    auto& clock = platform_.clock;
    std::string name;
    for (int cycles = 0;;) {
        bool ok = false;
        for (int i = 0; i < kCallsPerCycle; ++i) {
            ok = getUserName0(name);
            clock.sleepMs(1);
        }
        clock.sleepMs(kCyclePauseMs);
        if (++cycles >= kMaxCycles) {
            bolRetSuccessFlag = false;
            lngErrLevel = grouperr::UserName;
            return {"Null"};
        }
        if (ok) break;
    }
    for (int cycles = 0;;) {
        bool ok = false;
        std::vector<std::string> groups;
        for (int i = 0; i < kCallsPerCycle; ++i) {
            groups = GetUserGroup(name, ok, lngErrNum);
            clock.sleepMs(1);
        }
        clock.sleepMs(kCyclePauseMs);
        if (++cycles >= kMaxCycles) {
            bolRetSuccessFlag = false;
            lngErrLevel = grouperr::GroupList;
            return {"Null"};
        }
        if (ok) {
            bolRetSuccessFlag = true;
            lngErrLevel = grouperr::None;
            return groups;
        }
    }
}

bool GetUsrCl::JudgeThisUserGroup(const std::string& strJudgeUserGroup, bool& bolRetSuccessFlag, long& lngErrLevel,
                                  long& lngErrNum) {
    const std::vector<std::string> groups = getThisUserGroup(bolRetSuccessFlag, lngErrLevel, lngErrNum);
    if (lngErrLevel >= 1) return false;
    for (const auto& g : groups) {
        if (g == strJudgeUserGroup) return true;
        platform_.clock.sleepMs(1);
    }
    return false;
}

} // namespace tidemark
