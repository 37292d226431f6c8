// The start-up work of a copy on the shared settings file: registering its
// user and settling the memory-cleaner right.
#pragma once
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

// Scans the profiles, records [UserAccountName] SID = account name and
// settles the right. Does nothing while the shared file is not writable.
void registerCurrentUser(platform::Platform& platform, ProgramState& state);
// Takes the right when nobody (or this user) holds it, or when its holder is
// not logged on or no longer has a profile; never from the system-start
// account or from another logged-on user. The claim is written only where the
// file still names the holder it read; the right is this copy's when it was.
void claimCleanerRight(platform::Platform& platform, ProgramState& state);

} // namespace tidemark
