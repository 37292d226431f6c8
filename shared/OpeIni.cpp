#include "shared/OpeIni.h"

#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/accounts/GetUser.h"

namespace tidemark::OpeIni {

void RegisterCurrentUser(platform::Platform& platform, ProgramState& state) {
    if (!state.bolIniWriteFlag) return;
    GetUser::ScanUserProfiles(platform, state);
    // Without a SID there is no key to record under; nothing is overwritten.
    if (!state.strCurrentUserSid.empty()) {
        IniOpe ini(platform, state);
        state.bolIniWriteFlag =
            ini.IniWriteTask(ini::section::UserAccountName, state.strCurrentUserSid, state.strLogonUserName);
    }
    ClaimMemCleanRight(platform, state);
}

void ClaimMemCleanRight(platform::Platform& platform, ProgramState& state) {
    if (!state.bolIniWriteFlag || state.strCurrentUserSid.empty()) {
        state.bolMemCleanRight = false;
        return;
    }
    IniOpe ini(platform, state);
    const std::string& me = state.strCurrentUserSid;
    auto claim = [&] {
        state.bolIniWriteFlag = ini.IniWriteTask(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, me);
    };
    long n = 0;
    const std::string holder = ini.IniReadTask(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, n);
    if (n == 0 || holder == ini::word::NoUser || holder == me) {
        claim();
        return;
    }
    state.bolMemCleanRight = false;
    if (holder == ini::word::SystemStartAdministrators) return;

    bool known = false;
    for (long i = 0; i < state.lngUserSidCount && i < static_cast<long>(state.strUserSid.size()); ++i) {
        if (holder != state.strUserSid[i]) continue;
        known = true;
        if (!state.bolProfileLoaded[i]) {
            // The holder is not logged on.
            claim();
            state.bolMemCleanRight = true;
        }
    }
    if (state.bolMemCleanRight) return;
    if (!known) {
        // The holder's profile no longer exists.
        claim();
        state.bolMemCleanRight = true;
    }
}

void ReadAllUsersIconSetting(platform::Platform& platform, ProgramState& state) {
    IniOpe ini(platform, state);
    long n = 0;
    const std::string v = ini.IniReadTask(ini::section::IconSetting, ini::key::AllUsers, n);
    state.bolAllUsersIcon = n > 0 && v == ini::word::True;
}

void ReadUserIconSetting(platform::Platform& platform, ProgramState& state) {
    if (state.strCurrentUserSid.empty()) {
        state.bolUserIcon = false;
        return;
    }
    IniOpe ini(platform, state);
    long n = 0;
    const std::string v = ini.LocalIniReadTask(ini::section::IconSetting, state.strCurrentUserSid, n);
    state.bolUserIcon = n > 0 && v == ini::word::True;
}

void ReadFormStyle(platform::Platform& platform, ProgramState& state) {
    IniOpe ini(platform, state);
    long n = 0;
    const std::string v = ini.LocalIniReadTask(ini::section::AppSetting, ini::key::FormStyle, n);
    state.bolLocalIniFlag = n > 0;
    state.intFormStyle = (n > 0 && v == "1") ? 1 : 0;
}

} // namespace tidemark::OpeIni
