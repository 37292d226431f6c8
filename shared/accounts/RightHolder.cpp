#include "shared/accounts/RightHolder.h"

#include "shared/settings/SettingsKeys.h"

namespace tidemark {
namespace key = ini::key;
namespace section = ini::section;

bool RightHolder::nobody() const { return sid.empty() || sid == ini::word::NoUser; }

std::optional<RightHolder> readRightHolder(SettingsFiles& files) {
    auto sid = files.tryRead(section::AppSettingFlag, key::MemCleanRightUser);
    if (!sid) return std::nullopt;
    auto session = files.tryRead(section::AppSettingFlag, key::MemCleanRightSession);
    if (!session) return std::nullopt;
    return RightHolder{std::move(*sid), std::move(*session)};
}

bool namesThisCopy(const RightHolder& holder, const ProgramState& state) {
    return !state.user.sid.empty() && holder.sid == state.user.sid &&
           (holder.session.empty() || holder.session == state.user.session);
}

bool namesOtherSessionOfThisAccount(const RightHolder& holder, const ProgramState& state) {
    return !state.user.sid.empty() && holder.sid == state.user.sid && !namesThisCopy(holder, state);
}

std::vector<profile::ExpectedValue> holderStillNamed(const RightHolder& holder) {
    return {{section::AppSettingFlag, key::MemCleanRightUser, holder.sid},
            {section::AppSettingFlag, key::MemCleanRightSession, holder.session}};
}

std::vector<profile::ProfileEdit> nameThisCopy(const ProgramState& state) {
    return {{section::AppSettingFlag, std::string(key::MemCleanRightUser), state.user.sid},
            {section::AppSettingFlag, std::string(key::MemCleanRightSession), state.user.session}};
}

} // namespace tidemark
