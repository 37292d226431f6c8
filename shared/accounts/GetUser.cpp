#include "shared/accounts/GetUser.h"

#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/accounts/GetProf.h"

namespace tidemark::GetUser {
namespace {

void report(platform::Platform& platform, const ProgramState& state, const char* text) {
    platform::MessageRequest m;
    m.owner = state.lngMainWnd;
    m.text = text;
    m.title = state.programTitle;
    m.buttons = platform::MessageButtons::Ok;
    platform.messages.show(m);
}

void giveUp(platform::Platform& platform, ProgramState& state, const char* text) {
    report(platform, state, text);
    state.bolMemCleanRight = false;
    state.bolIniWriteFlag = false;
}

} // namespace

void ScanUserProfiles(platform::Platform& platform, ProgramState& state) {
    const std::optional<std::string> ownSid = platform.accounts.processUserSid();
    if (ownSid) state.strCurrentUserSid = *ownSid;

    GetProf prof(platform, state);
    long count = 0, err = -1;
    const bool listed = prof.GetUserSid(count, err);
    state.bolProfileLoaded.assign(static_cast<std::size_t>(state.lngUserSidCount), false);
    if (!listed) {
        giveUp(platform, state, err == 1 ? kKeyOpenFailed : kSubKeyOpenFailed);
        return;
    }

    IniOpe ini(platform, state);
    for (std::size_t i = 0; i < state.strUserSid.size(); ++i) {
        const std::string sid = state.strUserSid[i];
        if (sid.size() <= kServiceSidMaxLength) continue;
        std::string profileName;
        long loaded = 0, profErr = 0;
        bool interactive = false;
        if (!prof.GetUserProfile(sid, profileName, loaded, interactive, profErr)) {
            giveUp(platform, state,
                   profErr == 1 ? kRegistryOpenFailed : profErr == 2 ? kRegistryKeyFailed : kRegistryLogonKeyFailed);
            break;
        }
        state.bolIniWriteFlag = ini.IniWriteTask(ini::section::LocalProfileName, sid, profileName);
        state.bolProfileLoaded[i] = loaded != 0;
        if (ownSid) {
            if (sid == *ownSid) state.strCurrentProfName = profileName;
        } else if (loaded != 0 && interactive) {
            // Without a token SID, the last interactive profile is taken.
            state.strCurrentUserSid = sid;
            state.strCurrentProfName = profileName;
        }
    }
}

std::string GetMemCleanRightUserName(platform::Platform& platform, ProgramState& state, long& lngReadCount) {
    lngReadCount = 0;
    if (!state.bolIniWriteFlag) return {};
    IniOpe ini(platform, state);
    long n = 0;
    const std::string holder = ini.IniReadTask(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, n);
    if (n == 0) return {};
    return ini.IniReadTask(ini::section::UserAccountName, holder, lngReadCount);
}

} // namespace tidemark::GetUser
