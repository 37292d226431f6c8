// The memory-cleaner right between the copies of all logged-on users: the
// holder renews its counters every minute, a copy that believes it holds
// the right confirms it before cleaning, a copy without it counts the
// holder's time down and challenges a holder that stopped renewing, and the
// holder gives the right back when it ends.
#pragma once
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor::right {

// The holder's renewal; a failed write ends the right.
void renew(MonitorContext& c);
// A copy that believes it holds the right checks that the file still names
// it, and stands down when it names another.
void confirm(MonitorContext& c);
// While the last write failed: one harmless write (the user's own
// registration) to learn whether the file is writable again.
void probeSettingsWrite(MonitorContext& c);
// A copy without the right: counts the holder's counter down and arms a
// challenge when it reaches zero.
void countHolderDown(MonitorContext& c);
// An armed challenge: counts its own counter down and takes the right when
// the holder did not renew it.
void challenge(MonitorContext& c);
// Gives the right back ("NoUser") where the file still names this copy.
void release(MonitorContext& c);

} // namespace tidemark::monitor::right
