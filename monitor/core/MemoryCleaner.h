// The memory cleaner: the memory figures, the cleaner's values, the
// cleaning call and its record, and the break of a stepwise cleaning.
#pragma once
#include <cstdint>
#include "monitor/core/MonitorContext.h"
#include "shared/cleaner/CleanerRules.h"
#include "shared/cleaner/CleaningResult.h"

namespace tidemark::monitor::cleaning {

// The caption of the last-run line while this copy may clean.
inline constexpr const char* kLastRunCaption = "前回メモリクリーナ実行日時";

void refreshMemoryStatus(MonitorContext& c);
// The stored values with their defaults; a changed amount of physical
// memory tells the user and, for an administrator, opens the settings.
void readSettings(MonitorContext& c);
// Writes back the values read or entered (nothing when none were).
void writeSettings(MonitorContext& c);
// One cleaning call; the step size may be corrected in place. True when a
// cleaning was started (not when the library is missing or still busy).
bool runCleaning(MonitorContext& c, std::int32_t mode, std::int32_t& stepSize, std::int32_t pause);
// True while the allocation library holds memory.
bool isCleaning(MonitorContext& c);
// One cleaning with the current settings: its start time goes to the
// last-run line of both windows, and once it has ended its time and result
// go to the shared file in one write (see watchCleaning). A library that
// cannot be used gives a result at once. True when the library took it on.
bool cleanAndRecord(MonitorContext& c, cleaner::CleaningReason reason);
// While a cleaning of this copy runs: once the library holds no memory, its
// result is recorded and shown.
void watchCleaning(MonitorContext& c);
// The tray's clean-now command: in the copy that holds the right, a
// cleaning now with the stored mode and size, unless one runs or a watched
// program does (a box says which); in any other copy a box names the holder.
void cleanNow(MonitorContext& c);
// Sets the last-run lines of both status windows from "ShExTime".
void showLastRunOrNoRight(MonitorContext& c);
// Every second: a stepwise cleaning of this copy stops once memory is
// plentiful again.
void breakSlowCleaningWhenPlentiful(MonitorContext& c);

} // namespace tidemark::monitor::cleaning
