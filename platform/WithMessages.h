// The same platform bundle with other message boxes: for a run whose boxes
// go elsewhere than the screen (a system-start run, an unattended import).
#pragma once
#include "platform/Platform.h"

namespace tidemark::platform {

inline Platform withMessages(Platform& b, MessageBoxes& messages) {
    return Platform{b.clock,    b.files,     b.locks,     b.codePage,  b.process, b.accounts, b.registry,
                    b.folders,  b.display,   b.os,        b.launcher,  b.access,  messages,   b.locale,
                    b.memory,   b.processes, b.shortcuts, b.instances, b.ramhold, b.events};
}

} // namespace tidemark::platform
