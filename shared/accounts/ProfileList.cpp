#include "shared/accounts/ProfileList.h"

#include "shared/accounts/RegistryReader.h"

namespace tidemark {

using platform::RegistryRoot;

ProfileListError ProfileList::readSids() {
    RegistryReader reg(platform_);
    auto key = reg.open(RegistryRoot::LocalMachine, kProfileListKey);
    if (!key) {
        state_.profiles.sids.clear();
        state_.profiles.count = 0;
        return ProfileListError::KeyNotOpened;
    }
    auto names = reg.subKeyNames(*key);
    state_.profiles.sids = names ? std::move(*names) : std::vector<std::string>{};
    state_.profiles.count = static_cast<long>(state_.profiles.sids.size());
    return names ? ProfileListError::None : ProfileListError::NotEnumerated;
}

ProfileResult ProfileList::profile(const std::string& sid) {
    ProfileResult result;
    RegistryReader reg(platform_);
    auto key = reg.open(RegistryRoot::LocalMachine, std::string(kProfileListKey) + "\\" + sid);
    if (!key) {
        result.error = ProfileError::KeyNotOpened;
        return result;
    }
    const auto imagePath = reg.value(*key, "ProfileImagePath");
    if (!imagePath) {
        result.error = ProfileError::ImagePathNotRead;
        return result;
    }
    const auto slash = imagePath->text.find_last_of('\\');
    result.profile.folderName = slash == std::string::npos ? imagePath->text : imagePath->text.substr(slash + 1);
    const auto refCount = reg.value(*key, "RefCount");
    if (!refCount) {
        result.error = ProfileError::RefCountNotRead;
        return result;
    }
    // The first byte is the count's low-order byte: 256 reads as 0.
    result.profile.refCount = refCount->raw.empty() ? 0 : static_cast<unsigned char>(refCount->raw[0]);
    if (result.profile.refCount != 0) result.profile.interactive = hasInteractiveLogon(sid);
    return result;
}

bool ProfileList::hasInteractiveLogon(const std::string& sid) {
    if (sid.size() <= kServiceSidMaxLength) return false;
    RegistryReader reg(platform_);
    return reg.open(RegistryRoot::Users, sid + "\\Volatile Environment") != nullptr;
}

std::string ProfileList::lastLocalGroup() {
    const platform::LocalGroupsResult r = platform_.accounts.localGroups(state_.user.logonName);
    return r.groups.empty() ? std::string() : r.groups.back();
}

} // namespace tidemark
