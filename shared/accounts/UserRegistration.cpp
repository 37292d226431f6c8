#include "shared/accounts/UserRegistration.h"

#include "shared/accounts/ProfileScan.h"
#include "shared/accounts/RightHolder.h"
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
    const std::optional<RightHolder> holder = readRightHolder(files);
    if (!holder) {
        // Nothing learnt from the file: nothing is claimed or written.
        state.right.held = false;
        return;
    }
    // The claim is written only where the file still names the holder read
    // above: a copy that claimed in between keeps what it took, and this copy
    // then stands as beside a logged-on holder.
    auto claim = [&] {
        const profile::WriteOutcome r = files.writeAllIf(holderStillNamed(*holder), nameThisCopy(state));
        state.settings.sharedWritable = r != profile::WriteOutcome::Failed;
        state.right.held = r == profile::WriteOutcome::Written;
    };
    if (holder->nobody() || namesThisCopy(*holder, state)) {
        // Nobody else is named: whoever writes first holds the right, at
        // once. (Left unset, a running copy named in the file would count
        // down and challenge itself, and a second challenger could take the
        // same right in the same minute.)
        claim();
        return;
    }
    state.right.held = false;
    if (holder->sid == ini::word::SystemStartAdministrators) return;
    // This account's copy in another session is a logged-on holder.
    if (namesOtherSessionOfThisAccount(*holder, state)) return;

    bool known = false;
    for (long i = 0; i < state.profiles.count && i < static_cast<long>(state.profiles.sids.size()); ++i) {
        if (holder->sid != state.profiles.sids[i]) continue;
        known = true;
        if (!state.profiles.loaded[i]) {
            // The holder is not logged on.
            claim();
        }
    }
    if (state.right.held) return;
    if (!known) {
        // The holder's profile no longer exists.
        claim();
    }
}

} // namespace tidemark
