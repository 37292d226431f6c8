// What the monitor shows and records of a cleaning: the "前回の解放量" line
// of both status windows, the tray tip's line, the shared file's result
// beside "ShExTime" and the event log.
#pragma once
#include <optional>
#include <string>

#include "monitor/core/MonitorContext.h"
#include "shared/cleaner/CleaningResult.h"

namespace tidemark::monitor::cleaning {

inline constexpr const char* kFreedCaption = "前回の解放量";
inline constexpr const char* kNoCleaningYet = "―";

// "512 MB（3.2 秒）", "実行できませんでした" for a cleaning that could not
// run, each followed by "・次回 HH:MM 以降" while a wait holds the next
// automatic cleaning back. ahead: this session's minutes ahead of UTC.
std::string freedText(const cleaner::CleaningResult& result, const std::optional<cleaner::UtcMinute>& next, int ahead);
// "前回 HH:MM に 512 MB 解放"; empty for a cleaning that could not run.
std::string trayLine(const cleaner::CleaningResult& result, int ahead);

// Minutes this session runs ahead of UTC, read off the clock now.
int sessionMinutesAhead(platform::Clock& clock);

// A result of this copy: "ShExTime" and the result in one write (only the
// result for a cleaning that could not run), both windows, the tray tip and
// the event log.
void recordResult(MonitorContext& c, const cleaner::CleaningResult& result, const std::string& libraryProblem);
// The machine's last cleaning as the shared file holds it, for a copy that
// did not clean it; the holder's own result and wait where it has one.
void showLastResult(MonitorContext& c);

// The event log's record of the right: taken or given up since the last
// report.
void reportRightChange(MonitorContext& c);

} // namespace tidemark::monitor::cleaning
