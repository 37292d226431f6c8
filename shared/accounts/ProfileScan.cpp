#include "shared/accounts/ProfileScan.h"

#include "shared/accounts/ProfileList.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark {
namespace {

void report(platform::Platform& platform, const ProgramState& state, const char* text) {
    platform::MessageRequest m;
    m.owner = state.mainWindow;
    m.text = text;
    m.title = state.programTitle;
    m.buttons = platform::MessageButtons::Ok;
    platform.messages.show(m);
}

void giveUp(platform::Platform& platform, ProgramState& state, const char* text) {
    report(platform, state, text);
    state.right.held = false;
    state.settings.sharedWritable = false;
}

} // namespace

void scanUserProfiles(platform::Platform& platform, ProgramState& state) {
    // This copy is its token's account in its own logon session; without
    // the token's SID it has no key of its own (another user's SID would
    // claim that user's right) and runs without the right.
    const std::optional<std::string> ownSid = platform.accounts.processUserSid();
    if (ownSid) state.user.sid = *ownSid;
    if (const auto session = platform.accounts.processSessionId()) state.user.session = std::to_string(*session);

    ProfileList list(platform, state);
    const ProfileListError listError = list.readSids();
    state.profiles.loaded.assign(static_cast<std::size_t>(state.profiles.count), false);
    if (listError != ProfileListError::None) {
        giveUp(platform, state, listError == ProfileListError::KeyNotOpened ? kKeyOpenFailed : kSubKeyOpenFailed);
        return;
    }

    // Each profile's folder name is written only where it is missing or
    // changed, all in one write: on a server with hundreds of profiles every
    // copy scans every low minute.
    SettingsFiles files(platform, state);
    const auto recorded = files.tryReadSection(ini::section::LocalProfileName);
    std::vector<profile::ProfileEdit> changes;
    auto recordChanges = [&] {
        if (recorded && !changes.empty()) state.settings.sharedWritable = files.writeAll(changes);
        changes.clear();
    };
    for (std::size_t i = 0; i < state.profiles.sids.size(); ++i) {
        const std::string sid = state.profiles.sids[i];
        if (sid.size() <= kServiceSidMaxLength) continue;
        const ProfileResult found = list.profile(sid);
        if (found.error != ProfileError::None) {
            recordChanges();
            giveUp(platform, state,
                   found.error == ProfileError::KeyNotOpened       ? kRegistryOpenFailed
                   : found.error == ProfileError::ImagePathNotRead ? kRegistryKeyFailed
                                                                   : kRegistryLogonKeyFailed);
            break;
        }
        const std::string& profileName = found.profile.folderName;
        const bool loaded = found.profile.refCount != 0;
        if (recorded) {
            bool same = false;
            for (const auto& entry : *recorded)
                if (entry.name == sid) same = entry.value == profileName;
            if (!same) changes.push_back({ini::section::LocalProfileName, sid, profileName});
        }
        state.profiles.loaded[i] = loaded;
        if (sid == state.user.sid) state.user.profileName = profileName;
    }
    recordChanges();
}

bool refreshProfileList(platform::Platform& platform, ProgramState& state) {
    ProgramState scratch;
    ProfileList list(platform, scratch);
    if (list.readSids() != ProfileListError::None) return false;
    std::vector<bool> loaded(scratch.profiles.sids.size(), false);
    for (std::size_t i = 0; i < scratch.profiles.sids.size(); ++i) {
        const std::string& sid = scratch.profiles.sids[i];
        if (sid.size() <= kServiceSidMaxLength) continue;
        const ProfileResult found = list.profile(sid);
        if (found.error != ProfileError::None) return false;
        loaded[i] = found.profile.refCount != 0;
    }
    state.profiles.sids = std::move(scratch.profiles.sids);
    state.profiles.count = scratch.profiles.count;
    state.profiles.loaded = std::move(loaded);
    return true;
}

std::optional<std::string> cleanerRightHolderName(platform::Platform& platform, ProgramState& state) {
    if (!state.settings.sharedWritable) return std::nullopt;
    SettingsFiles files(platform, state);
    const std::string holder = files.read(ini::section::AppSettingFlag, ini::key::MemCleanRightUser);
    if (holder.empty()) return std::nullopt;
    std::string name = files.read(ini::section::UserAccountName, holder);
    if (name.empty()) return std::nullopt;
    return name;
}

} // namespace tidemark
