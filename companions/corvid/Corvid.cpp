#include "companions/corvid/Corvid.h"

#include "shared/accounts/ProfileScan.h"
#include "shared/cleaner/ProcessWatch.h"
#include "shared/events/SuiteEvents.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"
#include "shared/system/StaleTemporaryFiles.h"
#include "shared/system/WindowsVersion.h"

namespace tidemark::corvid {
namespace {
namespace key = ini::key;
namespace section = ini::section;
constexpr const char* kSsa = ini::word::SystemStartAdministrators;
} // namespace

StartOutcome Corvid::start() {
    s_.settings.sharedPath = sharedSettingsPath(platform_.process);
    const std::string word = windowless::commandWord(platform_);
    if (word != kPassTestWord && word != kRunWord) return StartOutcome::Ended;

    const platform::OsVersionInfo v = windowsVersion(platform_).value_or(platform::OsVersionInfo{});
    if (!(v.platformId == 2 && v.majorVersion >= 5)) {
        platform::MessageRequest m;
        m.owner = s_.mainWindow;
        m.text = kOldSystemMessage;
        m.title = "Tidemark";
        platform_.messages.show(m);
        return StartOutcome::Ended;
    }
    if (word == kPassTestWord) {
        write(section::AppSettingFlag, key::PassTest, ini::word::True);
        return StartOutcome::Ended;
    }
    // One copy on the machine: it runs outside any user's session.
    if (platform_.instances.anotherIsRunningOnMachine(kInstanceName)) return StartOutcome::Ended;
    runStartup();
    return StartOutcome::Running;
}

void Corvid::runStartup() {
    s_.settings.sharedWritable = true;
    s_.actsAsHolder = true;
    deleteStaleTemporaryFiles(platform_);
    s_.logon = windowless::findLogonName(platform_);
    s_.user.logonName = s_.logon.name;
    if (windowless::isAdministratorAccount(platform_, s_.logon))
        windowless::startSuiteProgram(platform_, s_.mainWindow, kGrantelExe, kRunWord);

    // The scan clears the right flag it is given when it fails.
    s_.right.held = s_.actsAsHolder;
    scanUserProfiles(platform_, s_);
    s_.actsAsHolder = s_.right.held;

    write(section::AppSettingFlag, key::MemCleanRightUser, kSsa);
    if (s_.settings.sharedWritable && s_.actsAsHolder)
        events::reportRightTaken(platform_.events, reporter(), kSsa, {});
    write(section::UserAccountName, kSsa, ini::word::SystemStartAdministratorsName);
    write(section::AppSettingFlag, key::SSAUserTime, windowless::hourMinute(platform_.clock.universalTime()));

    refreshMemory();
    s_.settingsValid = readSettings();
    s_.watchNames = SettingsFiles(platform_, s_).keyNames(section::ExitTrigProcList);

    if (s_.settingsValid) {
        // The start-up cleaning does not wait for low memory.
        if (!watchedProgramRuns()) cleanAndRecord(cleaner::CleaningReason::Startup);
        renewCounters();
    } else {
        writeLastRun(kErrMemSize);
    }
    periodicCheck();
}

void Corvid::runLoop(const std::function<bool()>& pumpMessages) {
    for (;;) {
        fiveSecondCheck();
        if (++s_.passesSinceSettings >= kPassesPerSettingsRead) {
            s_.passesSinceSettings = 0;
            s_.settingsValid = readSettings();
        }
        if (++s_.passesSinceCheck >= kPassesPerCheck) {
            s_.passesSinceCheck = 0;
            periodicCheck();
        }
        for (int i = 0; i < kSecondsPerPass; ++i) {
            if (!pumpMessages()) return;
            if (!s_.cleaning.running()) {
                platform_.clock.sleepMs(1000);
                continue;
            }
            // A cleaning's end is seen within a tenth of a second, for its
            // duration.
            for (int tenth = 0; tenth < 10; ++tenth) {
                platform_.clock.sleepMs(100);
                watchCleaning();
            }
        }
    }
}

void Corvid::exit() { platform_.ramhold.requestBreak(); }

void Corvid::fiveSecondCheck() {
    refreshMemory();
    if (s_.actsAsHolder && s_.cleanerValues.mode == 1 && cleaner::asSigned(s_.availPhys) > s_.cleanerValues.trigger) {
        if (platform_.ramhold.stepwiseClaimStatus() == platform::slowstatus::Claiming) s_.cleaning.breakRequested();
        platform_.ramhold.requestBreak();
    }
    watchCleaning();
}

bool Corvid::readSettings() {
    // While writes fail nothing is read; a failed write says nothing of the
    // settings, so they stay as they were.
    if (!s_.settings.sharedWritable) return s_.settingsValid;
    const std::optional<std::string> phys =
        SettingsFiles(platform_, s_).tryRead(section::AppSettingFlag, key::PhysMemSize);
    if (!phys) return s_.settingsValid;   // nothing learnt: as before
    // Settings made for another memory size, or never saved by an
    // administrator, are not used.
    const std::int64_t stored = leadingNumber(*phys).value_or(0);
    if (stored != cleaner::asSigned(s_.totalPhys)) return false;
    const auto values =
        cleaner::readCleanerSettings(platform_, s_, s_.totalPhys, cleaner::TriggerDefault::AtLeast50MB);
    if (!values) return s_.settingsValid;
    s_.cleanerValues = *values;
    return true;
}

void Corvid::recoverRenewals() {
    // A harmless write: the system-start account's own registration.
    write(section::UserAccountName, kSsa, ini::word::SystemStartAdministratorsName);
}

void Corvid::periodicCheck() {
    // A failed write stops the renewals until the file takes writes again.
    if (!s_.rightLost && !s_.settings.sharedWritable) recoverRenewals();
    if (!s_.settings.sharedWritable) return;
    if (s_.actsAsHolder) renewCounters();
    watchCleaning();
    if (platform_.ramhold.memoryHeldStatus() != 1) {
        refreshMemory();
        if (s_.settingsValid) {
            if (s_.lastRunText == kErrMemSize) writeLastRun(kNotRunYet);
            const bool low = cleaner::asSigned(s_.availPhys) <= s_.cleanerValues.trigger;
            // Memory plentiful again ends a wait after cleanings that did
            // not help; while one holds, the next cleaning waits its turn.
            if (!low) s_.cleaning.memoryPlentiful();
            else if (!watchedProgramRuns() && s_.cleaning.automaticAllowed(platform_.clock.monotonicMs()))
                cleanAndRecord(cleaner::CleaningReason::Trigger);
        } else {
            writeLastRun(kErrMemSize);
        }
    } else if (s_.cleanerValues.mode == 1) {
        // This copy's stepwise cleaning runs: it stops for another holder
        // (checkHolder breaks it) and for a watched program.
        if (checkHolder() == Holding::No) return;
        if (watchedProgramRuns()) {
            s_.cleaning.breakRequested();
            platform_.ramhold.requestBreak();
        }
    }
}

void Corvid::renewCounters() {
    // Who is on the machine now, so that keys of accounts whose profile went
    // leave the file: Corvid holds the right for the machine's whole uptime,
    // and no other holder will remove them.
    const bool listRead = refreshProfileList(platform_, s_);
    // "SSAUserTime" in UTC: the users' copies compare it in their own
    // sessions, which may be in other time zones.
    const auto r = cleaner::renewRightCounters(platform_, s_, {{section::AppSettingFlag, key::MemCleanRightUser, kSsa}},
                                               {{key::SSAUserTime, windowless::hourMinute(platform_.clock.universalTime())}},
                                               listRead);
    // A failed write is tried again at the next check; another holder in
    // the file ends the right.
    if (r == cleaner::RenewalOutcome::NotHolder) checkHolder();
}

void Corvid::refreshMemory() {
    const auto m = platform_.memory.query();
    if (!m) return;
    s_.totalPhys = m->totalPhys;
    s_.availPhys = m->availPhys;
}

Corvid::Holding Corvid::checkHolder() {
    if (s_.rightLost) return Holding::No;
    const std::optional<std::string> holder =
        SettingsFiles(platform_, s_).tryRead(section::AppSettingFlag, key::MemCleanRightUser);
    // A moment in which the file cannot be read skips one cleaning; only a
    // holder read from the file ends the right.
    if (!holder) return Holding::Unknown;
    if (*holder == kSsa) return Holding::Yes;
    // A user's copy took the right over while this one did not renew it:
    // one cleaner per machine, so this one stops for good, and its own
    // stepwise cleaning with it.
    s_.rightLost = true;
    s_.actsAsHolder = false;
    s_.cleaning.reset();
    events::reportRightGivenUp(platform_.events, reporter(), kSsa, {});
    if (platform_.ramhold.stepwiseClaimStatus() == platform::slowstatus::Claiming) platform_.ramhold.requestBreak();
    return Holding::No;
}

void Corvid::cleanAndRecord(cleaner::CleaningReason reason) {
    if (checkHolder() != Holding::Yes) return;
    watchCleaning();
    if (s_.cleaning.running()) return;
    cleaner::CleaningStart start;
    start.reason = reason;
    start.mode = s_.cleanerValues.mode;
    start.sizeMB = s_.cleanerValues.sizeMB;
    refreshMemory();
    start.freeBeforeBytes = s_.availPhys;
    start.atMs = platform_.clock.monotonicMs();
    const platform::LocalTime utc = platform_.clock.universalTime();
    start.atUtc = {utc.hour, utc.minute};
    const platform::LocalTime t = platform_.clock.localTime();
    s_.cleaningStartedText = platform_.locale.shortDate(t) + " " + platform_.locale.longTime(t);
    if (!cleaner::startCleaning(platform_.ramhold, s_.cleanerValues.sizeMB, s_.cleanerValues.mode,
                                s_.cleanerValues.slowStep, s_.cleanerValues.slowPause)) {
        const std::string problem = platform_.ramhold.loadProblem();
        if (!problem.empty()) recordResult(s_.cleaning.notRun(start, s_.cleanerValues.trigger), problem);
        return;
    }
    start.sizeMB = s_.cleanerValues.sizeMB;
    s_.cleaning.begin(start);
}

void Corvid::watchCleaning() {
    if (!s_.cleaning.running() || platform_.ramhold.memoryHeldStatus() == 1) return;
    const bool interrupted = platform_.ramhold.stepwiseClaimStatus() == platform::slowstatus::Interrupted;
    refreshMemory();
    const auto result = s_.cleaning.finish(false, interrupted, s_.availPhys, platform_.clock.monotonicMs(),
                                           s_.cleanerValues.trigger);
    if (result) recordResult(*result, {});
}

void Corvid::recordResult(const cleaner::CleaningResult& result, const std::string& libraryProblem) {
    const bool ran = result.end != cleaner::CleaningEnd::NotRun;
    // The start time and the result in one write; a cleaning that could not
    // run leaves "ShExTime" as it was.
    std::vector<profile::ProfileEdit> edits;
    if (ran) edits.push_back({section::AppSettingFlag, std::string(key::ShExTime), s_.cleaningStartedText});
    edits.push_back({section::AppSettingFlag, std::string(key::ShExResult), cleaner::resultValue(result)});
    s_.settings.sharedWritable = SettingsFiles(platform_, s_).writeAll(edits);
    if (ran && s_.settings.sharedWritable) s_.lastRunText = s_.cleaningStartedText;

    events::CleaningDetails details;
    details.startedText = s_.cleaningStartedText;
    details.triggerBytes = s_.cleanerValues.trigger;
    if (result.nextAttempt) {
        const platform::LocalTime local = platform_.clock.localTime();
        const platform::LocalTime utc = platform_.clock.universalTime();
        details.nextAttemptLocal = cleaner::localHourMinute(
            *result.nextAttempt, cleaner::minutesAheadOfUtc(local.hour, local.minute, utc.hour, utc.minute));
    }
    details.libraryProblem = libraryProblem;
    events::reportCleaning(platform_.events, reporter(), result, details,
                           cleaner::helped(result.freeAfterBytes, s_.cleanerValues.trigger));
}

events::Reporter Corvid::reporter() const { return {kInstanceName, s_.logon.name}; }

void Corvid::writeLastRun(const std::string& text) {
    s_.lastRunText = text;
    write(section::AppSettingFlag, key::ShExTime, text);
}

bool Corvid::watchedProgramRuns() { return cleaner::watchedProgramRunning(platform_, s_, s_.watchNames); }

void Corvid::write(const char* sectionName, const std::string& keyName, const std::string& value) {
    s_.settings.sharedWritable = SettingsFiles(platform_, s_).write(sectionName, keyName, value);
}

} // namespace tidemark::corvid
