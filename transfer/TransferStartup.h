// What both transfer tools do first: only members of "Administrators" may
// change the suite's settings this way.
#pragma once
#include "platform/Platform.h"

namespace tidemark::transfer {

// True when the running account is an administrator. Otherwise the box
// that says why has been shown and the program ends.
bool administratorMayTransfer(platform::Platform& platform, platform::NativeWindow owner);

} // namespace tidemark::transfer
