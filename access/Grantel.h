// Grantel, the settings-file access tool: run with "RUN" under an
// administrator or SYSTEM, it gives Everyone full control of the shared
// settings file beside it through CACLS. It never shows anything.
#pragma once
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::grantel {

inline constexpr const char* kRunWord = "RUN";

// What the run did, for tests.
enum class Outcome { Ended, AccessOpened };

Outcome runGrantel(platform::Platform& platform, ProgramState& state);

} // namespace tidemark::grantel
