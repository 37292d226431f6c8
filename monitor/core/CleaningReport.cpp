#include "monitor/core/CleaningReport.h"

#include "monitor/core/MonitorSettings.h"
#include "shared/events/SuiteEvents.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark::monitor::cleaning {
namespace {

namespace key = ini::key;
namespace section = ini::section;

events::Reporter reporter(const MonitorState& s) { return {"Tidemark", s.user.logonName}; }

// A wait written by another copy still holds while its minute lies ahead,
// within the longest wait.
std::optional<cleaner::UtcMinute> pendingWait(const cleaner::CleaningResult& r, const platform::LocalTime& utcNow) {
    if (!r.nextAttempt) return std::nullopt;
    const int until = cleaner::minutesUntil({utcNow.hour, utcNow.minute}, *r.nextAttempt);
    if (until == 0 || until > cleaner::kLongestWaitMinutes) return std::nullopt;
    return r.nextAttempt;
}

void show(MonitorContext& c, const std::optional<cleaner::CleaningResult>& result,
          const std::optional<cleaner::UtcMinute>& next) {
    const int ahead = sessionMinutesAhead(c.platform.clock);
    setOnBothWindows(c, StatusControl::FreedCaption, kFreedCaption);
    setOnBothWindows(c, StatusControl::FreedText, result ? freedText(*result, next, ahead) : kNoCleaningYet);
    const std::string line = result ? trayLine(*result, ahead) : std::string();
    if (line != c.state.cleaning.trayLine) {
        c.state.cleaning.trayLine = line;
        c.ui.refreshTrayImage();
    }
}

} // namespace

std::string freedText(const cleaner::CleaningResult& r, const std::optional<cleaner::UtcMinute>& next, int ahead) {
    std::string text = r.end == cleaner::CleaningEnd::NotRun
                           ? std::string("実行できませんでした")
                           : std::to_string(r.freedMB()) + " MB（" + events::secondsText(r.durationMs) + " 秒）";
    if (next) text += "・次回 " + cleaner::localHourMinute(*next, ahead) + " 以降";
    return text;
}

std::string trayLine(const cleaner::CleaningResult& r, int ahead) {
    if (r.end == cleaner::CleaningEnd::NotRun) return {};
    return "前回 " + cleaner::localHourMinute(r.started, ahead) + " に " + std::to_string(r.freedMB()) + " MB 解放";
}

int sessionMinutesAhead(platform::Clock& clock) {
    const platform::LocalTime local = clock.localTime();
    const platform::LocalTime utc = clock.universalTime();
    return cleaner::minutesAheadOfUtc(local.hour, local.minute, utc.hour, utc.minute);
}

void recordResult(MonitorContext& c, const cleaner::CleaningResult& result, const std::string& libraryProblem) {
    MonitorState& s = c.state;
    const bool ran = result.end != cleaner::CleaningEnd::NotRun;
    std::vector<profile::ProfileEdit> edits;
    if (ran) edits.push_back({section::AppSettingFlag, std::string(key::ShExTime), s.cleaning.startedText});
    edits.push_back({section::AppSettingFlag, std::string(key::ShExResult), cleaner::resultValue(result)});
    s.settings.sharedWritable = SettingsFiles(c.platform, s).writeAll(edits);
    if (ran) s.lastRunText = s.cleaning.startedText;
    s.cleaning.last = result;
    show(c, result, s.cleaning.cycle.nextAttempt());

    events::CleaningDetails details;
    details.startedText = s.cleaning.startedText;
    details.triggerBytes = s.cleaner.triggerBytes;
    if (result.nextAttempt)
        details.nextAttemptLocal = cleaner::localHourMinute(*result.nextAttempt, sessionMinutesAhead(c.platform.clock));
    details.libraryProblem = libraryProblem;
    events::reportCleaning(c.platform.events, reporter(s), result, details,
                           cleaner::helped(result.freeAfterBytes, s.cleaner.triggerBytes));
}

void showLastResult(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.right.held && s.cleaning.last) {
        show(c, s.cleaning.last, s.cleaning.cycle.nextAttempt());
        return;
    }
    const std::optional<std::string> stored = readSharedIfReadable(c, section::AppSettingFlag, key::ShExResult);
    if (!stored) return;   // nothing learnt: the line stays as it is
    const std::optional<cleaner::CleaningResult> result = cleaner::parseResultValue(*stored);
    show(c, result, result ? pendingWait(*result, c.platform.clock.universalTime()) : std::nullopt);
}

void reportRightChange(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.right.held == s.cleaning.rightReported) return;
    s.cleaning.rightReported = s.right.held;
    if (s.right.held) {
        // A new holder cleans every minute at first.
        s.cleaning.cycle.memoryPlentiful();
    } else {
        // A cleaning under way is no longer this copy's to report.
        s.cleaning.cycle.reset();
        c.ui.watchCleaning(false);
    }
    if (s.user.sid.empty()) return;
    if (s.right.held) events::reportRightTaken(c.platform.events, reporter(s), s.user.sid, s.user.session);
    else events::reportRightGivenUp(c.platform.events, reporter(s), s.user.sid, s.user.session);
}

} // namespace tidemark::monitor::cleaning
