#include "companions/corvid/Corvid.h"

#include "monitor/core/NumberText.h"
#include "monitor/procwatch/ProcessWatch.h"
#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/accounts/GetUser.h"
#include "shared/system/GetOsVer.h"
#include "shared/system/StaleTemporaryFiles.h"

namespace tidemark::corvid {
namespace {
namespace key = ini::key;
namespace section = ini::section;
constexpr const char* kSsa = ini::word::SystemStartAdministrators;
} // namespace

StartOutcome Corvid::start() {
    s_.strIniFilePath = sharedSettingsPath(platform_.process);
    const std::string word = windowless::commandWord(platform_);
    if (word != kPassTestWord && word != kRunWord) return StartOutcome::Ended;

    platform::OsVersionInfo v;
    GetOsVer(platform_).GetOsVersion(v);
    if (!(v.platformId == 2 && v.majorVersion >= 5)) {
        platform::MessageRequest m;
        m.owner = s_.lngMainWnd;
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
    s_.bolIniWriteFlag = true;
    s_.bolSsaRight = true;
    deleteStaleTemporaryFiles(platform_);
    s_.logon = windowless::findLogonName(platform_, s_);
    s_.strLogonUserName = s_.logon.name;
    if (windowless::isAdministratorAccount(platform_, s_.logon))
        windowless::startSuiteProgram(platform_, s_.lngMainWnd, kGrantelExe, kRunWord);

    // The scan clears the right flag it is given when it fails.
    s_.bolMemCleanRight = s_.bolSsaRight;
    GetUser::ScanUserProfiles(platform_, s_);
    s_.bolSsaRight = s_.bolMemCleanRight;

    write(section::AppSettingFlag, key::MemCleanRightUser, kSsa);
    write(section::UserAccountName, kSsa, ini::word::SystemStartAdministratorsName);
    write(section::AppSettingFlag, key::SSAUserTime, windowless::hourMinute(platform_.clock.localTime()));

    refreshMemory();
    s_.bolMemSetValid = readSettings();
    bool found = false;
    long last = 0;
    s_.watchNames = IniOpe(platform_, s_).GetIniKeyName(section::ExitTrigProcList, found, last);

    if (s_.bolMemSetValid) {
        // The start-up cleaning does not wait for low memory.
        if (!watchedProgramRuns()) cleanAndRecord();
        renewCounters();
    } else {
        writeShExTime(kErrMemSize);
    }
    periodicCheck();
}

void Corvid::runLoop(const std::function<bool()>& pumpMessages) {
    for (;;) {
        fiveSecondCheck();
        if (++s_.passesSinceSettings >= kPassesPerSettingsRead) {
            s_.passesSinceSettings = 0;
            s_.bolMemSetValid = readSettings();
        }
        if (++s_.passesSinceCheck >= kPassesPerCheck) {
            s_.passesSinceCheck = 0;
            periodicCheck();
        }
        for (int i = 0; i < kSecondsPerPass; ++i) {
            if (!pumpMessages()) return;
            platform_.clock.sleepMs(1000);
        }
    }
}

void Corvid::exit() { platform_.ramhold.LetRamholdBreak(); }

void Corvid::fiveSecondCheck() {
    refreshMemory();
    if (s_.bolSsaRight && s_.settings.mode == 1 && cleaner::asSigned(s_.availPhys) > s_.settings.trigger)
        platform_.ramhold.LetRamholdBreak();
}

bool Corvid::readSettings() {
    if (!s_.bolIniWriteFlag) return false;
    long n = 0;
    const std::string phys = IniOpe(platform_, s_).IniReadTask(section::AppSettingFlag, key::PhysMemSize, n);
    // Settings made for another memory size, or never saved by an
    // administrator, are not used.
    const std::int64_t stored = n > 0 ? monitor::leadingNumber(phys).value_or(0) : 0;
    if (stored != cleaner::asSigned(s_.totalPhys)) return false;
    s_.settings = cleaner::ReadCleanerSettings(platform_, s_, s_.totalPhys, cleaner::TriggerDefault::AtLeast50MB);
    return true;
}

void Corvid::periodicCheck() {
    if (!s_.bolIniWriteFlag) return;
    if (s_.bolSsaRight) renewCounters();
    if (platform_.ramhold.GetRamholdMemFlag() != 1) {
        refreshMemory();
        if (s_.bolMemSetValid) {
            if (s_.strShExTime == kErrMemSize) writeShExTime(kNotRunYet);
            if (cleaner::asSigned(s_.availPhys) <= s_.settings.trigger && !watchedProgramRuns()) cleanAndRecord();
        } else {
            writeShExTime(kErrMemSize);
        }
    } else if (s_.settings.mode == 1 && watchedProgramRuns()) {
        platform_.ramhold.LetRamholdBreak();
    }
}

void Corvid::renewCounters() {
    if (!cleaner::RenewRightCounters(platform_, s_, s_.strUserSid,
                                     {{key::SSAUserTime, windowless::hourMinute(platform_.clock.localTime())}}))
        s_.bolSsaRight = false;
}

void Corvid::refreshMemory() {
    const auto m = platform_.memory.query();
    if (!m) return;
    s_.totalPhys = m->totalPhys;
    s_.availPhys = m->availPhys;
}

bool Corvid::confirmHolder() {
    if (s_.bolRightLost) return false;
    long n = 0;
    const std::string holder = IniOpe(platform_, s_).IniReadTask(section::AppSettingFlag, key::MemCleanRightUser, n);
    if (n > 0 && holder == kSsa) return true;
    // A user's copy took the right over while this one did not renew it:
    // one cleaner per machine, so this one stops for good.
    s_.bolRightLost = true;
    s_.bolSsaRight = false;
    return false;
}

void Corvid::cleanAndRecord() {
    if (!confirmHolder()) return;
    if (!cleaner::StartCleaning(platform_.ramhold, s_.settings.sizeMB, s_.settings.mode, s_.settings.slowStep,
                                s_.settings.slowPause))
        return;
    const platform::LocalTime t = platform_.clock.localTime();
    writeShExTime(platform_.locale.shortDate(t) + " " + platform_.locale.longTime(t));
}

void Corvid::writeShExTime(const std::string& text) {
    s_.strShExTime = text;
    write(section::AppSettingFlag, key::ShExTime, text);
}

bool Corvid::watchedProgramRuns() { return monitor::ProcessWatch::checkProcessTask(platform_, s_, s_.watchNames); }

void Corvid::write(const char* sectionName, const std::string& keyName, const std::string& value) {
    s_.bolIniWriteFlag = IniOpe(platform_, s_).IniWriteTask(sectionName, keyName, value);
}

} // namespace tidemark::corvid
