#include "shared/system/WindowlessProgram.h"

#include <cstdio>

#include "shared/settings/SettingsKeys.h"
#include "shared/accounts/AccountGroups.h"
#include "shared/system/SystemQueries.h"
#include "shared/system/CommandLine.h"

namespace tidemark::windowless {
namespace {
constexpr int kLogonCallsPerCycle = 5;
constexpr int kLogonMaxCycles = 50;
} // namespace

std::string commandWord(platform::Platform& platform) { return argumentsOf(platform.process.commandLine()); }

std::string ownFolder(platform::Platform& platform) {
    const std::string exe = platform.process.executablePath();
    const auto slash = exe.find_last_of('\\');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

LogonName findLogonName(platform::Platform& platform) {
    LogonName out;
    for (int cycles = 0;;) {
        std::optional<std::string> name;
        for (int i = 0; i < kLogonCallsPerCycle; ++i) {
            name = logonUserName(platform);
            out.name = name.value_or(std::string());
            platform.clock.sleepMs(1);
        }
        platform.clock.sleepMs(500);
        if (name) {
            out.found = true;
            return out;
        }
        if (++cycles >= kLogonMaxCycles) {
            out.name = ini::word::UnknownUser;
            out.found = false;
            return out;
        }
    }
}

bool isSystemAccount(platform::Platform& platform, const std::string& name) {
    const auto sid = platform.accounts.processUserSid();
    if (sid) return *sid == kSystemAccountSid;
    return name == kSystemAccountName;
}

bool isAdministratorAccount(platform::Platform& platform, const LogonName& logon) {
    if (!logon.found) return false;
    if (logon.name == kSystemAccountName || isSystemAccount(platform, logon.name)) return true;
    return AccountGroups(platform).isMember(ini::word::Administrators).member;
}

std::intptr_t startSuiteProgram(platform::Platform& platform, platform::NativeWindow owner,
                                const std::string& exeName, const std::string& word) {
    const std::string path = ownFolder(platform) + "\\" + exeName;
    return platform.launcher.shellExecute(owner, "open", quoteArgument(path), word, "",
                                          platform::showcmd::MinimizedNoActivate);
}

std::string hourMinute(const platform::LocalTime& t) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d", t.hour % 100, t.minute % 100);
    return b;
}

std::string hourColonMinute(int hour, int minute) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d:%02d", ((hour % 24) + 24) % 24, ((minute % 60) + 60) % 60);
    return b;
}

} // namespace tidemark::windowless
