// The profile scan and the name of the memory-cleaner right's holder.
#pragma once
#include <optional>
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

// Messages of the scan, shown with an OK button.
inline constexpr const char* kKeyOpenFailed = "キーのオープンに失敗しました";
inline constexpr const char* kSubKeyOpenFailed = "サブキーのオープンに失敗しました";
inline constexpr const char* kRegistryOpenFailed = "レジストリオープンに失敗しました";
inline constexpr const char* kRegistryKeyFailed = "レジストリキー取得に失敗しました";
inline constexpr const char* kRegistryLogonKeyFailed = "レジストリ・ログオンキー取得に失敗しました";

// Lists every profile and which are loaded, records each user profile's
// folder name under [LocalProfileName], and sets the current user's SID and
// logon session. The SID is the one of the process's own token: with two
// users logged on at once, the profile list alone cannot tell whose copy
// this is; when the token cannot be read the SID stays empty.
void scanUserProfiles(platform::Platform& platform, ProgramState& state);

// The profile list and which profiles are loaded, read again without a
// message and without a write: the holder's view of who is on the machine
// before it renews. False (and the state as it was) when it cannot be read.
bool refreshProfileList(platform::Platform& platform, ProgramState& state);

// The account name recorded for the SID in "MemCleanRightUser"; nullopt
// when nobody is named or the name is not recorded (or is empty).
std::optional<std::string> cleanerRightHolderName(platform::Platform& platform, ProgramState& state);

} // namespace tidemark
