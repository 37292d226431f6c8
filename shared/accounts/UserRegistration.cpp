#include "shared/accounts/UserRegistration.h"

#include "shared/accounts/ProfileScan.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark {

void registerCurrentUser(platform::Platform& platform, ProgramState& state) {
    if (!state.settings.sharedWritable) return;
    scanUserProfiles(platform, state);
    // Without a SID there is no key to record under; nothing is overwritten.
    if (!state.user.sid.empty()) {
        SettingsFiles files(platform, state);
        state.settings.sharedWritable =
            files.write(ini::section::UserAccountName, state.user.sid, state.user.logonName);
    }
    claimCleanerRight(platform, state);
}

void claimCleanerRight(platform::Platform& platform, ProgramState& state) {
    if (!state.settings.sharedWritable || state.user.sid.empty()) {
        state.right.held = false;
        return;
    }
    SettingsFiles files(platform, state);
    const std::string& me = state.user.sid;
    const std::string holder = files.read(ini::section::AppSettingFlag, ini::key::MemCleanRightUser);
    // The claim is written only where the file still names the holder read
    // above: a copy that claimed in between keeps what it took, and this copy
    // then stands as beside a logged-on holder.
    bool taken = true;
    auto claim = [&] {
        const profile::WriteOutcome r =
            files.writeIf(ini::section::AppSettingFlag, ini::key::MemCleanRightUser, holder, me);
        state.settings.sharedWritable = r != profile::WriteOutcome::Failed;
        taken = r == profile::WriteOutcome::Written;
    };
    if (holder.empty() || holder == ini::word::NoUser || holder == me) {
        // Nobody else is named: whoever writes first holds the right, at
        // once. (Left unset, a running copy named in the file would count
        // down and challenge itself, and a second challenger could take the
        // same right in the same minute.)
        claim();
        state.right.held = taken;
        return;
    }
    state.right.held = false;
    if (holder == ini::word::SystemStartAdministrators) return;

    bool known = false;
    for (long i = 0; i < state.profiles.count && i < static_cast<long>(state.profiles.sids.size()); ++i) {
        if (holder != state.profiles.sids[i]) continue;
        known = true;
        if (!state.profiles.loaded[i]) {
            // The holder is not logged on.
            claim();
            state.right.held = taken;
        }
    }
    if (state.right.held) return;
    if (!known) {
        // The holder's profile no longer exists.
        claim();
        state.right.held = taken;
    }
}

} // namespace tidemark
