// The memory cleaner: memory figures, cleaner settings, the cleaning call,
// the minute tick, the memory-cleaner right protocol between the copies of
// all logged-on users, and the watch on the system-start account.
#pragma once
#include <cstdint>
#include "monitor/cleaner/CleanerRules.h"
#include "monitor/core/MonitorContext.h"

namespace tidemark::monitor::MemSet {

using cleaner::k128MB;
using cleaner::k50MB;
using cleaner::k64MB;
using cleaner::kDefaultSlowPause;
using cleaner::kDefaultSlowStep;
using cleaner::kMaxCleanSizeMB;
using cleaner::kMaxSlowStepMB;

void RefreshMemoryStatus(MonitorContext& c);
void ReadMemCleanSetting(MonitorContext& c);
void WriteMemCleanSetting(MonitorContext& c);
// One cleaning call; the step size may be corrected in place. True when a
// cleaning was started (not when the library is missing or still busy).
bool RunMemClean(MonitorContext& c, std::int32_t mode, std::int32_t& stepSize, std::int32_t pause);
void MemCleanTick(MonitorContext& c);
void ResetRightChallenge(MonitorContext& c);
// A copy that believes it holds the right checks that the file still names
// it, and stands down when it names another.
void ConfirmMemCleanRight(MonitorContext& c);
// While the last write failed: one harmless write (the user's own
// registration) to learn whether the file is writable again.
void ProbeSettingsWrite(MonitorContext& c);
void ChallengeMemCleanRight(MonitorContext& c);
void CheckSlowCleanBreak(MonitorContext& c);
// True while the allocation library holds memory.
bool checkRamholdFlagTask(MonitorContext& c);

// Sets the last-run lines of both status windows from "ShExTime".
void ShowLastRunOrNoRight(MonitorContext& c);
// One cleaning with the current settings; when it started, its time goes to
// "ShExTime" and to the last-run line of both windows.
void CleanAndRecord(MonitorContext& c);
// Gives the right back ("NoUser") where the file still names this copy.
void ReleaseMemCleanRight(MonitorContext& c);

} // namespace tidemark::monitor::MemSet
