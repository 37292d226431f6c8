#include "monitor/core/MonitorLifecycle.h"

#include "monitor/core/CleanerRight.h"
#include "monitor/core/CleaningReport.h"
#include "monitor/core/MemoryCleaner.h"
#include "monitor/core/MinuteTick.h"
#include "shared/cleaner/ProcessWatch.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/accounts/UserRegistration.h"
#include "shared/settings/DisplayChoices.h"
#include "shared/accounts/AccountGroups.h"
#include "shared/system/SystemQueries.h"
#include "shared/system/SettingsFileAccess.h"
#include "shared/system/CommandLine.h"
#include "shared/system/WindowsVersion.h"
#include "shared/system/StaleTemporaryFiles.h"

namespace tidemark::monitor::lifecycle {
namespace {

using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;

constexpr int kLogonCallsPerPass = 5;
constexpr int kLogonMaxPasses = 50;
constexpr int kTrayAddTries = 5;
constexpr const char* kUserSidFailedMessage = "現在のログオンユーザーのSIDの取得に失敗しました";
constexpr const char* kRunsWithoutRight = "このプログラムはメモリークリーナー実行権なしで実行されます。";

bool systemSupported(MonitorContext& c) {
    const platform::OsVersionInfo v = windowsVersion(c.platform).value_or(platform::OsVersionInfo{});
    return v.platformId == 2 && v.majorVersion >= 5;
}

void handOverToRunningCopy(MonitorContext& c) {
    MonitorState& s = c.state;
    s.settings.sharedPath = sharedSettingsPath(c.platform.process);
    const std::string name = logonUserName(c.platform).value_or(ini::word::False);
    s.settings.appDataKnown = false;
    s.settings.sharedWritable = SettingsFiles(c.platform, s).writeUser(section::AppSetting, key::IconObjFlag, name);
    c.message("プログラムはすでに起動されています\r\nタスクトレイにアイコンがない場合は１分ほどお待ちください\r\n"
              "アイコンの再表示依頼をプログラムに通知しました",
              MessageIcon::Exclamation);
}

void findLogonUser(MonitorContext& c) {
    MonitorState& s = c.state;
    for (int passes = 0;;) {
        std::optional<std::string> name;
        for (int i = 0; i < kLogonCallsPerPass; ++i) {
            name = logonUserName(c.platform);
            s.user.logonName = name.value_or(std::string());
            c.platform.clock.sleepMs(1);
        }
        c.platform.clock.sleepMs(500);
        if (++passes > kLogonMaxPasses) {
            s.user.logonName = ini::word::UnknownUser;
            return;
        }
        if (name) return;
    }
}

void checkAdministrator(MonitorContext& c) {
    MonitorState& s = c.state;
    const Membership membership = AccountGroups(c.platform).isMember(ini::word::Administrators);
    s.isAdministrator = membership.member;
    if (!membership.succeeded()) {
        const char* what =
            membership.error == GroupCheckError::UserName ? kUserNameFailedMessage : kUserGroupFailedMessage;
        c.message(std::string(what) + "\r\n「Tidemark」は\r\n「 User 」権限で実行されます。", MessageIcon::Error);
    }
    if (s.isAdministrator) SettingsFileAccess(c.platform, s).openToEveryone();
    else c.ui.disableAdministratorMenu();
}

// Step 17: the start-up cleaning, or what the last cleaning was.
void cleanOnceOrShowLastRun(MonitorContext& c) {
    MonitorState& s = c.state;
    if (cleaner::watchedProgramRunning(c.platform, s, s.watchNames)) return;
    // The right was settled before the settings were read, which may have
    // held a message box up for minutes.
    right::confirm(c);
    if (s.right.held) {
        cleaning::cleanAndRecord(c, cleaner::CleaningReason::Startup);
        right::renew(c);
        return;
    }
    SettingsFiles files(c.platform, s);
    if (!files.read(section::AppSettingFlag, key::ShExTime).empty()) {
        const std::string group = files.read(section::AppSettingFlag, key::SSAUserName);
        if (!group.empty() && group != ini::word::Administrators) {
            c.message(std::string("システムスタートしているTidemarkのアカウントが\r\n") +
                          "Administrators 以外のアカウントになっています。\r\n" +
                          "プログラムが正しく動作するためには、Administrators の権限が必要です。\r\n" +
                          (s.isAdministrator ? "管理者設定からシステムスタート設定をやり直すことを強く推奨します。"
                                             : "管理者に連絡し、設定をやり直してもらってください。"),
                      MessageIcon::Error);
        }
    }
    cleaning::showLastRunOrNoRight(c);
}

} // namespace

std::string argumentText(const std::string& commandLine) { return textAfterProgramName(commandLine); }

StartOutcome start(MonitorContext& c) {
    MonitorState& s = c.state;
    // 1. Both status windows exist, hidden, timers stopped.
    c.ui.createStatusWindows();

    // 2-3. Windows 2000 or later only.
    const std::string arguments = argumentText(c.platform.process.commandLine());
    if (!systemSupported(c)) {
        c.message("このプログラムは Windows2000 以上で動作します", MessageIcon::None);
        return StartOutcome::Ended;
    }
    const platform::OsVersionInfo version = windowsVersion(c.platform).value_or(platform::OsVersionInfo{});
    s.xpOrLater = isXpOrLater(version);

    // 4. A second copy hands over to the running one.
    if (c.platform.instances.anotherIsRunning(kInstanceName)) {
        if (arguments != kStartupArgument) handOverToRunningCopy(c);
        return StartOutcome::Ended;
    }

    // 5-6.
    s.settings.sharedPath = sharedSettingsPath(c.platform.process);
    deleteStaleTemporaryFiles(c.platform);

    // 7-8.
    findLogonUser(c);
    checkAdministrator(c);

    // 9-13.
    c.ui.resetTrayIcons();
    s.settings.sharedWritable = s.settings.userFileUsable = s.right.held = true;
    s.settings.appDataPath = systemFolder(c.platform, platform::csidl::AppData).value_or(std::string());
    s.settings.appDataKnown = !s.settings.appDataPath.empty();
    registerCurrentUser(c.platform, s);
    if (s.user.sid.empty() && s.settings.sharedWritable) {
        // Without its own key this copy can neither record its user nor
        // claim the right: it runs without it.
        c.message(std::string(kUserSidFailedMessage) + "\r\n" + kRunsWithoutRight, MessageIcon::Error);
    }
    s.windows.trayIconShown = false;
    s.cleaner.readBusy = false;
    s.windows.systemInfoAvailable = s.windows.aboutClosed = s.windows.passwordClosed = true;
    s.windows.settingsOpen = s.windows.adminOpen = s.display.allUsersIcon = s.display.userIcon = s.windows.adminBusy = false;
    // The user's SID stays: the icon choice below is stored under it.

    // 14-16.
    cleaning::refreshMemoryStatus(c);
    cleaning::readSettings(c);
    cleaning::writeSettings(c);
    readAllUsersIconChoice(c.platform, s);
    readUserIconChoice(c.platform, s);
    readWindowStyle(c.platform, s);
    s.watchNames = SettingsFiles(c.platform, s).keyNames(section::ExitTrigProcList);

    // 17-19.
    cleaning::reportRightChange(c);
    cleanOnceOrShowLastRun(c);
    runMinuteTick(c);
    cleaning::reportRightChange(c);
    c.ui.startTimers();
    applyWindowStyle(c);
    return StartOutcome::Running;
}

void applyWindowStyle(MonitorContext& c) {
    if (c.state.display.windowStyle == 0) {
        if (c.ui.isVisible(StatusWindow::Graph)) {
            c.ui.hide(StatusWindow::Graph);
            c.ui.toggleSimpleWindow();
        }
    } else if (c.ui.isVisible(StatusWindow::Simple)) {
        c.ui.hide(StatusWindow::Simple);
        c.ui.toggleGraphWindow();
    }
}

void checkIconRequest(MonitorContext& c) {
    MonitorState& s = c.state;
    SettingsFiles files(c.platform, s);
    const std::string request = files.readUser(section::AppSetting, key::IconObjFlag);
    if (request.empty() || (request != ini::word::False && request != s.user.logonName)) return;
    c.ui.removeTrayIcon();
    s.windows.trayIconShown = c.ui.addTrayIcon();
    s.settings.sharedWritable = files.writeUser(section::AppSetting, key::IconObjFlag, std::string(ini::word::True));
}

void refreshTrayIcon(MonitorContext& c) {
    cleaning::refreshMemoryStatus(c);
    c.ui.refreshTrayImage();
}

void onSecondTick(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.windows.trayIconShown) {
        for (int i = 0; i < kTrayAddTries; ++i) {
            s.windows.trayIconShown = c.ui.addTrayIcon();
            c.platform.clock.sleepMs(50);
            if (s.windows.trayIconShown) break;
        }
    }
    refreshTrayIcon(c);
    cleaning::breakSlowCleaningWhenPlentiful(c);
    cleaning::watchCleaning(c);
    if (s.windows.trayIconShown) c.ui.checkTrayRestart();
}

void onMinuteTick(MonitorContext& c) {
    checkIconRequest(c);
    runMinuteTick(c);
    cleaning::reportRightChange(c);
}

void onCleaningWatchTick(MonitorContext& c) { cleaning::watchCleaning(c); }

void cleanNow(MonitorContext& c) {
    cleaning::cleanNow(c);
    cleaning::reportRightChange(c);
}

void shutDown(MonitorContext& c) {
    MonitorState& s = c.state;
    s.ending = true;
    c.platform.ramhold.requestBreak();
    c.ui.stopMainTimers();
    c.ui.removeTrayIcon();
    if (s.windows.settingsOpen) {
        c.ui.closeSettingsWindow();
        s.windows.settingsOpen = false;
    }
    c.ui.resetTrayIcons();
    right::release(c);
    cleaning::reportRightChange(c);
    c.ui.destroyStatusWindows();
}

} // namespace tidemark::monitor::lifecycle
