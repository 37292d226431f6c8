// The cleaner's minute: who holds the right, the watch on the system-start
// account, the right protocol and, when memory is low, one cleaning.
#pragma once
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor {

void runMinuteTick(MonitorContext& c);

} // namespace tidemark::monitor
