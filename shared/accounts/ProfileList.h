// The machine's user profiles, from the registry's profile list.
#pragma once
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

inline constexpr const char* kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// SIDs of this length or shorter are built-in service accounts.
inline constexpr std::size_t kServiceSidMaxLength = 24;

enum class ProfileListError { None, KeyNotOpened, NotEnumerated };
enum class ProfileError { None, KeyNotOpened, ImagePathNotRead, RefCountNotRead };

struct UserProfile {
    std::string folderName;      // the last part of "ProfileImagePath"
    long refCount = 0;           // "RefCount"'s low-order byte: non-zero while loaded
    bool interactive = false;    // loaded with a volatile environment (an interactive logon)
};

struct ProfileResult {
    ProfileError error = ProfileError::None;
    UserProfile profile;
};

class ProfileList {
public:
    ProfileList(platform::Platform& platform, ProgramState& state) : platform_(platform), state_(state) {}

    // Fills state.profiles.sids and count (empty when the list fails).
    ProfileListError readSids();
    ProfileResult profile(const std::string& sid);
    // True when the SID has a volatile environment (an interactive logon);
    // false for a service account's SID and when the key does not open.
    bool hasInteractiveLogon(const std::string& sid);
    // The last local group of the logon user (indirect membership included).
    std::string lastLocalGroup();

private:
    platform::Platform& platform_;
    ProgramState& state_;
};

} // namespace tidemark
