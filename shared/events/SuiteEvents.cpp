#include "shared/events/SuiteEvents.h"

#include <vector>

namespace tidemark::events {
namespace {

using platform::EventType;

constexpr std::int64_t kMB = 1048576;

std::string mb(std::uint64_t bytes) { return std::to_string(bytes / kMB); }

} // namespace

std::string secondsText(std::int64_t ms) {
    if (ms < 0) ms = 0;
    const std::int64_t tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void reportCleaning(platform::EventLog& log, const Reporter& who, const cleaner::CleaningResult& r,
                    const CleaningDetails& details, bool helped) {
    const bool notRun = r.end == cleaner::CleaningEnd::NotRun;
    const EventType type = notRun ? EventType::Error : helped ? EventType::Information : EventType::Warning;
    const std::uint32_t eventId = notRun ? id::CleaningNotRun : helped ? id::CleaningHelped : id::CleaningDidNotHelp;
    const std::int64_t trigger = details.triggerBytes < 0 ? 0 : details.triggerBytes;
    log.report(type, eventId,
               {who.program, who.account, details.startedText, cleaner::reasonText(r.reason),
                r.mode == 1 ? "Slow" : "First", std::to_string(r.sizeMB), mb(r.freeBeforeBytes), mb(r.freeAfterBytes),
                std::to_string(r.freedMB()), secondsText(r.durationMs), cleaner::endWord(r.end),
                std::to_string(trigger / kMB), details.nextAttemptLocal, details.libraryProblem});
}

void reportRightTaken(platform::EventLog& log, const Reporter& who, const std::string& holderKey,
                      const std::string& session) {
    log.report(EventType::Information, id::RightTaken, {who.program, who.account, holderKey, session});
}

void reportRightGivenUp(platform::EventLog& log, const Reporter& who, const std::string& holderKey,
                        const std::string& session) {
    log.report(EventType::Information, id::RightGivenUp, {who.program, who.account, holderKey, session});
}

void reportSystemStartStale(platform::EventLog& log, const Reporter& who, const std::string& stamp) {
    log.report(EventType::Warning, id::SystemStartStale, {who.program, who.account, stamp});
}

void reportSettingsImported(platform::EventLog& log, const std::string& file, const std::string& detail) {
    log.report(EventType::Information, id::SettingsImported, {file, detail});
}

void reportSettingsNotImported(platform::EventLog& log, const std::string& file, const std::string& detail) {
    log.report(EventType::Error, id::SettingsNotImported, {file, detail});
}

} // namespace tidemark::events
