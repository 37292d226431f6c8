// The memory-cleaner right between the copies of all logged-on users: the
// holder renews its counters every minute, a copy that believes it holds
// the right confirms it before cleaning, a copy without it counts the
// holder's time down and challenges a holder that stopped renewing, and the
// holder gives the right back when it ends.
#pragma once
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor::right {

// The holder's renewal, one batch write; only a file that names another
// holder ends the right, a failed write is tried again next minute.
void renew(MonitorContext& c);
// A copy that believes it holds the right checks that the file still names
// it, and stands down when it names another. True only when the file was
// read and names this copy: a moment in which the file cannot be read
// changes nothing, and nobody cleans on it.
bool confirm(MonitorContext& c);
// Gives up the right this copy believed it held, and breaks its own
// stepwise cleaning: the new holder cleans now.
void standDown(MonitorContext& c);
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
