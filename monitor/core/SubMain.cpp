#include "monitor/core/SubMain.h"

#include "monitor/core/MemSet.h"
#include "monitor/procwatch/ProcessWatch.h"
#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/OpeIni.h"
#include "shared/accounts/GetUsrCl.h"
#include "shared/accounts/GetsProc.h"
#include "shared/system/AclChng.h"
#include "shared/system/CommandLine.h"
#include "shared/system/GetOsVer.h"
#include "shared/system/StaleTemporaryFiles.h"

namespace tidemark::monitor::SubMain {
namespace {

using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;

constexpr int kLogonCallsPerPass = 5;
constexpr int kLogonMaxPasses = 50;
constexpr int kTrayAddTries = 5;

bool systemSupported(MonitorContext& c) {
    platform::OsVersionInfo v;
    GetOsVer(c.platform).GetOsVersion(v);
    return v.platformId == 2 && v.majorVersion >= 5;
}

void handOverToRunningCopy(MonitorContext& c) {
    MonitorState& s = c.state;
    s.strIniFilePath = sharedSettingsPath(c.platform.process);
    long result = 0;
    std::string name = GetsProc(c.platform, s).GetLogonUserName(result);
    if (result == 0) name = ini::word::False;
    s.bolAppDataFlag = false;
    s.bolIniWriteFlag = IniOpe(c.platform, s).LocalIniWriteTask(section::AppSetting, key::IconObjFlag, name);
    c.message("プログラムはすでに起動されています\r\nタスクトレイにアイコンがない場合は１分ほどお待ちください\r\n"
              "アイコンの再表示依頼をプログラムに通知しました",
              MessageIcon::Exclamation);
}

void findLogonUser(MonitorContext& c) {
    MonitorState& s = c.state;
    GetsProc proc(c.platform, s);
    for (int passes = 0;;) {
        long result = 0;
        for (int i = 0; i < kLogonCallsPerPass; ++i) {
            s.strLogonUserName = proc.GetLogonUserName(result);
            c.platform.clock.sleepMs(1);
        }
        c.platform.clock.sleepMs(500);
        if (++passes > kLogonMaxPasses) {
            s.strLogonUserName = ini::word::UnknownUser;
            return;
        }
        if (result != 0) return;
    }
}

void checkAdministrator(MonitorContext& c) {
    MonitorState& s = c.state;
    bool ok = false;
    long level = 0, err = 0;
    s.isAdministrator = GetUsrCl(c.platform).JudgeThisUserGroup(ini::word::Administrators, ok, level, err);
    if (!ok) {
        const char* what = level == grouperr::UserName ? kUserNameFailedMessage : kUserGroupFailedMessage;
        c.message(std::string(what) + "\r\n「Tidemark」は\r\n「 User 」権限で実行されます。", MessageIcon::Error);
    }
    if (s.isAdministrator) ACL_Chng(c.platform, s).ChngTidemarkACLS();
    else c.ui.disableAdministratorMenu();
}

// Step 17: the start-up cleaning, or what the last cleaning was.
void cleanOnceOrShowLastRun(MonitorContext& c) {
    MonitorState& s = c.state;
    if (ProcessWatch::checkProcessTask(c.platform, s, s.watchNames)) return;
    // The right was settled before the settings were read, which may have
    // held a message box up for minutes.
    MemSet::ConfirmMemCleanRight(c);
    if (s.bolMemCleanRight) {
        MemSet::CleanAndRecord(c);
        MemSet::ResetRightChallenge(c);
        return;
    }
    IniOpe ini(c.platform, s);
    long n = 0;
    ini.IniReadTask(section::AppSettingFlag, key::ShExTime, n);
    if (n > 0) {
        const std::string group = ini.IniReadTask(section::AppSettingFlag, key::SSAUserName, n);
        if (n > 0 && group != ini::word::Administrators) {
            c.message(std::string("システムスタートしているTidemarkのアカウントが\r\n") +
                          "Administrators 以外のアカウントになっています。\r\n" +
                          "プログラムが正しく動作するためには、Administrators の権限が必要です。\r\n" +
                          (s.isAdministrator ? "管理者設定からシステムスタート設定をやり直すことを強く推奨します。"
                                             : "管理者に連絡し、設定をやり直してもらってください。"),
                      MessageIcon::Error);
        }
    }
    MemSet::ShowLastRunOrNoRight(c);
}

} // namespace

std::string argumentText(const std::string& commandLine) { return textAfterProgramName(commandLine); }

StartOutcome Main(MonitorContext& c) {
    MonitorState& s = c.state;
    // 1. Both status windows exist, hidden, timers stopped.
    c.ui.createStatusWindows();

    // 2-3. Windows 2000 or later only.
    const std::string arguments = argumentText(c.platform.process.commandLine());
    if (!systemSupported(c)) {
        c.message("このプログラムは Windows2000 以上で動作します", MessageIcon::None);
        return StartOutcome::Ended;
    }
    platform::OsVersionInfo version;
    GetOsVer(c.platform).GetOsVersion(version);
    s.bolXpOrLater = isXpOrLater(version);

    // 4. A second copy hands over to the running one.
    if (c.platform.instances.anotherIsRunning(kInstanceName)) {
        if (arguments != kStartupArgument) handOverToRunningCopy(c);
        return StartOutcome::Ended;
    }

    // 5-6.
    s.strIniFilePath = sharedSettingsPath(c.platform.process);
    deleteStaleTemporaryFiles(c.platform);

    // 7-8.
    findLogonUser(c);
    checkAdministrator(c);

    // 9-13.
    c.ui.ResetTrayIcons();
    s.bolIniWriteFlag = s.bolLocalIniFlag = s.bolMemCleanRight = true;
    GetsProc(c.platform, s).GetSysFolder(platform::csidl::AppData, s.strAppDataPath);
    s.bolAppDataFlag = !s.strAppDataPath.empty();
    OpeIni::RegisterCurrentUser(c.platform, s);
    s.bolTrayIconFlag = false;
    s.bolMemSetBusy = false;
    s.bolSysInfoFlag = s.bolAboutClosed = s.bolPasInClosed = true;
    s.bolFrmFixOpen = s.bolFrmAdmFxOpen = s.bolAllUsersIcon = s.bolUserIcon = s.bolAdmBusy = false;
    // The user's SID stays: the icon choice below is stored under it.

    // 14-16.
    MemSet::RefreshMemoryStatus(c);
    MemSet::ReadMemCleanSetting(c);
    MemSet::WriteMemCleanSetting(c);
    OpeIni::ReadAllUsersIconSetting(c.platform, s);
    OpeIni::ReadUserIconSetting(c.platform, s);
    OpeIni::ReadFormStyle(c.platform, s);
    bool found = false;
    long last = 0;
    s.watchNames = IniOpe(c.platform, s).GetIniKeyName(section::ExitTrigProcList, found, last);

    // 17-19.
    cleanOnceOrShowLastRun(c);
    MemSet::MemCleanTick(c);
    c.ui.startTimers();
    ApplyFormStyle(c);
    return StartOutcome::Running;
}

void ApplyFormStyle(MonitorContext& c) {
    if (c.state.intFormStyle == 0) {
        if (c.ui.isVisible(StatusWindow::Graph)) {
            c.ui.hide(StatusWindow::Graph);
            c.ui.ToggleSimpleWindow();
        }
    } else if (c.ui.isVisible(StatusWindow::Simple)) {
        c.ui.hide(StatusWindow::Simple);
        c.ui.ToggleGraphWindow();
    }
}

void CheckIconRequest(MonitorContext& c) {
    MonitorState& s = c.state;
    IniOpe ini(c.platform, s);
    long n = 0;
    const std::string request = ini.LocalIniReadTask(section::AppSetting, key::IconObjFlag, n);
    if (n == 0 || (request != ini::word::False && request != s.strLogonUserName)) return;
    c.ui.delTaskTrayIcon();
    s.bolTrayIconFlag = c.ui.addTaskTrayIcon();
    s.bolIniWriteFlag = ini.LocalIniWriteTask(section::AppSetting, key::IconObjFlag, std::string(ini::word::True));
}

void RefreshTrayIcon(MonitorContext& c) {
    MemSet::RefreshMemoryStatus(c);
    c.ui.refreshTrayImage();
}

void SimpleTimer2Tick(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.bolTrayIconFlag) {
        for (int i = 0; i < kTrayAddTries; ++i) {
            s.bolTrayIconFlag = c.ui.addTaskTrayIcon();
            c.platform.clock.sleepMs(50);
            if (s.bolTrayIconFlag) break;
        }
    }
    RefreshTrayIcon(c);
    MemSet::CheckSlowCleanBreak(c);
    if (s.bolTrayIconFlag) c.ui.CheckTrayRestart();
}

void SimpleTimer1Tick(MonitorContext& c) {
    CheckIconRequest(c);
    MemSet::MemCleanTick(c);
}

void Exit(MonitorContext& c) {
    MonitorState& s = c.state;
    c.platform.ramhold.LetRamholdBreak();
    c.ui.stopMainTimers();
    c.ui.delTaskTrayIcon();
    if (s.bolFrmFixOpen) {
        c.ui.closeSettingsWindow();
        s.bolFrmFixOpen = false;
    }
    c.ui.ResetTrayIcons();
    MemSet::ReleaseMemCleanRight(c);
    c.ui.destroyStatusWindows();
}

} // namespace tidemark::monitor::SubMain
