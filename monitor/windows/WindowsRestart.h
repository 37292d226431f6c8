// The restart of Windows that a system-start change asks for: an orderly
// restart, or a message saying why there is none.
#pragma once
#include "monitor/core/MonitorContext.h"
#include "platform/SystemRestart.h"

namespace tidemark::monitor {

// True when the restart is under way.
bool restartWindows(MonitorContext& context, platform::SystemRestart& restart);

} // namespace tidemark::monitor
