#include "companions/cascada/Cascada.h"

#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/CommandLine.h"
#include "shared/system/SystemTools.h"
#include "shared/system/WindowsVersion.h"

namespace tidemark::cascada {
namespace {

namespace key = ini::key;
namespace section = ini::section;
constexpr int kVersionCallsPerCycle = 5;
constexpr int kVersionMaxCycles = 50;

// Cycles of five queries 1 ms apart and a 500 ms pause until one succeeds;
// after 50 cycles, Windows XP (5.1).
platform::OsVersionInfo systemVersion(platform::Platform& platform) {
    for (int cycle = 0; cycle < kVersionMaxCycles; ++cycle) {
        std::optional<platform::OsVersionInfo> version;
        for (int i = 0; i < kVersionCallsPerCycle; ++i) {
            version = windowsVersion(platform);
            platform.clock.sleepMs(1);
        }
        platform.clock.sleepMs(500);
        if (version) return *version;
    }
    platform::OsVersionInfo v;
    v.majorVersion = 5;
    v.minorVersion = 1;
    return v;
}

} // namespace

bool waitSeconds(platform::Platform& platform, int seconds, const MessagePump& pump) {
    if (seconds <= 0) seconds = 60;
    if (seconds > 300) seconds = 300;
    for (int i = 0; i < seconds; ++i) {
        if (!pump()) return false;
        platform.clock.sleepMs(1000);
    }
    return true;
}

std::string atParameters(const platform::LocalTime& now, const std::string& command, const std::string& word) {
    const int minutes = (now.hour * 60 + now.minute + kAtDelayMinutes) % (24 * 60);
    return windowless::hourColonMinute(minutes / 60, minutes % 60) + " " + quoteArgument(command) + " " + word;
}

bool AtScheduler::schedule(const std::string& command, const std::string& word) {
    const std::string at = systemToolPath(platform_, kAtProgram);
    if (at.empty()) return false;
    platform_.launcher.shellExecute(owner_, "open", quoteArgument(at),
                                    atParameters(platform_.clock.localTime(), command, word), "",
                                    platform::showcmd::Minimized);
    return false;
}

Outcome runCascada(platform::Platform& platform, ProgramState& state, const MessagePump& pump) {
    // 1.
    state.settings.sharedPath = sharedSettingsPath(platform.process);
    const std::string word = windowless::commandWord(platform);
    if (word != kRunWord && word != kSysWord) return Outcome::Ended;

    // 2-3. The account's kind, for the main program's warning.
    const windowless::LogonName logon = windowless::findLogonName(platform);
    state.user.logonName = logon.name;
    bool administrator = false;
    std::string group = ini::word::UnknownGroup;
    if (logon.found) {
        if (logon.name == windowless::kSystemAccountName || windowless::isSystemAccount(platform, logon.name)) {
            group = ini::word::Administrators;
        } else {
            administrator = windowless::isAdministratorAccount(platform, logon);
            group = administrator ? ini::word::Administrators : ini::word::NotAdmin;
        }
    }
    SettingsFiles files(platform, state);
    state.settings.sharedWritable = files.write(section::AppSettingFlag, key::SSAUserName, group);

    // 4-5.
    const platform::OsVersionInfo v = systemVersion(platform);
    if (v.majorVersion != 5 || v.minorVersion >= 1 || word == kSysWord) {
        windowless::startSuiteProgram(platform, state.mainWindow, kCorvidExe, kRunWord);
        return Outcome::CorvidStarted;
    }
    if (!administrator) return Outcome::Ended;
    if (!waitSeconds(platform, kHandOverWaitSeconds, pump)) return Outcome::Ended;
    state.settings.sharedWritable =
        files.write(section::AppSettingFlag, key::MemCleanRightUser, std::string(ini::word::SystemStartAdministrators));
    state.settings.sharedWritable = files.write(section::UserAccountName, ini::word::SystemStartAdministrators,
                                             std::string(ini::word::SystemStartAdministratorsName));
    AtScheduler(platform, state.mainWindow).schedule(windowless::ownFolder(platform) + "\\" + kCascadaExe, kSysWord);
    return Outcome::HandedToAt;
}

} // namespace tidemark::cascada
