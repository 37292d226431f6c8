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
    long n = 0;
    const std::string holder = ini.IniReadTask(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, n);
    // The claim is written only where the file still names the holder read
    // above: a copy that claimed in between keeps what it took, and this copy
    // then stands as beside a logged-on holder.
    bool taken = true;
    auto claim = [&] {
        const profile::WriteOutcome r =
            ini.IniWriteIfTask(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, holder, me);
        state.bolIniWriteFlag = r != profile::WriteOutcome::Failed;
        taken = r == profile::WriteOutcome::Written;
    };
    if (n == 0 || holder == ini::word::NoUser || holder == me) {
        // Nobody else is named: whoever writes first holds the right, at
        // once. (Left unset, a running copy named in the file would count
        // down and challenge itself, and a second challenger could take the
        // same right in the same minute.)
        claim();
        state.bolMemCleanRight = taken;
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
            state.bolMemCleanRight = taken;
        }
    }
    if (state.bolMemCleanRight) return;
    if (!known) {
        // The holder's profile no longer exists.
        claim();
        state.bolMemCleanRight = taken;
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
