// The user's display choices: the always-active tray icon (for every user
// and for this one) and the style of the status window.
#pragma once
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

void readAllUsersIconChoice(platform::Platform& platform, ProgramState& state);
void readUserIconChoice(platform::Platform& platform, ProgramState& state);
// Also learns whether the user's own file holds the choice.
void readWindowStyle(platform::Platform& platform, ProgramState& state);

} // namespace tidemark
