#include "monitor/core/MemSet.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "monitor/core/NumberText.h"
#include "monitor/procwatch/ProcessWatch.h"
#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/OpeIni.h"
#include "shared/accounts/GetUser.h"
#include "shared/accounts/GetUsrCl.h"

namespace tidemark::monitor::MemSet {
namespace {

using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;

constexpr const char* kLastRunCaption = "前回メモリクリーナ実行日時";
constexpr const char* kNoRightCaption = "メモリクリーナ実行権はありません";
constexpr const char* kHolderTooltip = "メモリークリーナー実行権者は ";
constexpr const char* kNoHolderTooltip = "メモリークリーナー実行権はありません";
constexpr const char* kSsaName = ini::word::SystemStartAdministratorsName;

std::string read(MonitorContext& c, const char* sectionName, const std::string& keyName, long& n) {
    return IniOpe(c.platform, c.state).IniReadTask(sectionName, keyName, n);
}

void write(MonitorContext& c, const char* sectionName, const std::string& keyName, const std::string& value) {
    c.state.bolIniWriteFlag = IniOpe(c.platform, c.state).IniWriteTask(sectionName, keyName, value);
}

// A write made only while every expected value still holds; a write that
// failed (not one whose condition did not hold) clears the write flag.
profile::WriteOutcome writeIf(MonitorContext& c, const std::vector<profile::ExpectedValue>& expected,
                              const char* sectionName, const std::string& keyName, const std::string& value) {
    const auto r = IniOpe(c.platform, c.state).IniWriteIfTask(expected, sectionName, keyName, value);
    c.state.bolIniWriteFlag = r != profile::WriteOutcome::Failed;
    return r;
}

bool isAdministrator(MonitorContext& c) {
    bool ok = false;
    long level = 0, err = 0;
    return GetUsrCl(c.platform).JudgeThisUserGroup(ini::word::Administrators, ok, level, err);
}

void setBoth(MonitorContext& c, StatusControl control, const std::string& text) {
    c.ui.setText(StatusWindow::Simple, control, text);
    c.ui.setText(StatusWindow::Graph, control, text);
}

using cleaner::sizeFromTrigger;

// The trigger when none is stored: a third of physical memory, kept
// between 50 MB and 128 MB.
std::int64_t defaultTrigger(const MonitorState& s) {
    return cleaner::defaultTrigger(s.curTotalPhys, cleaner::TriggerDefault::Between50And128MB);
}

void reportRamholdProblem(MonitorContext& c) {
    if (c.state.bolRamholdProblemShown) return;
    const std::string problem = c.platform.ramhold.loadProblem();
    if (problem.empty()) return;
    c.state.bolRamholdProblemShown = true;
    const auto colon = problem.find(':');
    const std::string text =
        colon == std::string::npos
            ? "メモリー確保ライブラリ「" + problem + "」を読み込めませんでした。\r\nメモリークリーナーは実行されません。"
            : "メモリー確保ライブラリ「" + problem.substr(0, colon) + "」に関数「" + problem.substr(colon + 1) +
                  "」がありません。\r\nメモリークリーナーは実行されません。";
    c.message(text, MessageIcon::Error);
}

void SystemStartWatch(MonitorContext& c) {
    MonitorState& s = c.state;
    long n = 0;
    const std::string stamp = read(c, section::AppSettingFlag, key::SSAUserTime, n);
    if (n < 4) return;
    const auto minutes = leadingNumber(stamp.substr(stamp.size() - 2));
    if (!minutes) return;
    // The current minute less the stamp's minute, modulo an hour.
    const int now = c.platform.clock.localTime().minute;
    const int behind = static_cast<int>(((now - *minutes) % 60 + 60) % 60);
    s.intSsaStaleCount = behind > 3 ? s.intSsaStaleCount + 1 : 0;
    if (s.intSsaStaleCount <= 3) return;
    s.bolSsaWarned = true;
    const std::string advice = isAdministrator(c) ? "管理者設定からシステムスタート設定をやり直すことを強く推奨します。"
                                                  : "管理者に連絡し、設定をやり直してもらってください。";
    c.message(std::string("システムスタートしているTidemarkの\r") + "アカウントのパスワードが変更されている可能性があります。\r" +
                  "現在プログラムはログオンされていないと思われます。\r" + advice,
              MessageIcon::Error);
}

} // namespace

void RefreshMemoryStatus(MonitorContext& c) {
    MonitorState& s = c.state;
    const auto m = c.platform.memory.query();
    if (m) {
        s.intMemoryLoad = static_cast<std::int16_t>(std::min<std::uint32_t>(m->memoryLoad, 100));
        s.curTotalPhys = m->totalPhys;
        s.curAvailPhys = m->availPhys;
        s.curTotalPhysKB = m->totalPhys / 1024;
        s.curAvailPhysKB = m->availPhys / 1024;
    }
    c.ui.setText(StatusWindow::Simple, StatusControl::Label1_1, std::to_string(s.intMemoryLoad) + " %");
    c.ui.setText(StatusWindow::Simple, StatusControl::Label2_1, groupedDigits(s.curTotalPhysKB) + " KB");
    c.ui.setText(StatusWindow::Simple, StatusControl::Label3_1, groupedDigits(s.curAvailPhysKB) + " KB");
    c.ui.setTooltip(StatusWindow::Graph, StatusControl::PictGraph,
                    "総物理メモリー " + groupedDigits(s.curTotalPhysKB) + " KB / " + "メモリー使用率 " +
                        std::to_string(s.intMemoryLoad) + " %");
}

void ReadMemCleanSetting(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.bolIniWriteFlag) return;
    s.bolMemSetBusy = true;
    const auto total = static_cast<std::int64_t>(std::min<std::uint64_t>(s.curTotalPhys, INT64_MAX));
    long n = 0;

    const cleaner::CleanerSettings stored =
        cleaner::ReadCleanerSettings(c.platform, s, s.curTotalPhys, cleaner::TriggerDefault::Between50And128MB);
    s.decCleanTrigger = stored.trigger;
    s.intCleanSizeMB = stored.sizeMB;
    s.intMemCleanForm = stored.mode;
    s.lngSlowSleepTime = stored.slowPause;
    s.lngSlowStepSize = stored.slowStep;

    // A changed amount of physical memory makes the stored values suspect.
    const std::string phys = read(c, section::AppSettingFlag, key::PhysMemSize, n);
    if (n > 0 && leadingNumber(phys).value_or(-1) != total) {
        const bool admin = isAdministrator(c);
        if (admin) {
            c.message("物理メモリーが変更された可能性があります\rメモリークリーナーの設定をやり直してください",
                      MessageIcon::Error);
        } else if (!s.bolPhysMemWarned) {
            c.message("物理メモリーが変更された可能性があります\r管理者に連絡し、メモリークリーナーの設定をやり直してください\r"
                      "正式に設定されるまでプログラムが設定した値が代入されます",
                      MessageIcon::Error);
            s.bolPhysMemWarned = true;
        }
        s.decCleanTrigger = defaultTrigger(s);
        s.intCleanSizeMB = sizeFromTrigger(s.decCleanTrigger, false);
        if (admin) {
            if (s.bolFrmFixOpen) {
                if (s.bolAdmBusy) c.ui.beep();
                else c.ui.bringSettingsWindowToFront();
            } else {
                c.ui.showSettingsWindowModal();
            }
        }
    }
    s.decPhysMemSize = total;
    s.bolMemSetKnown = true;
    s.bolMemSetBusy = false;
}

void WriteMemCleanSetting(MonitorContext& c) {
    MonitorState& s = c.state;
    // Values that were never read (the read is skipped while the file cannot
    // be written) must not go over everybody's settings.
    if (!s.bolMemSetKnown) return;
    write(c, section::AppSettingFlag, key::MemCleanExeMemSize, std::to_string(s.decCleanTrigger));
    write(c, section::AppSettingFlag, key::MemCleanSize, std::to_string(s.intCleanSizeMB));
    if (isAdministrator(c)) write(c, section::AppSettingFlag, key::PhysMemSize, std::to_string(s.decPhysMemSize));
}

bool RunMemClean(MonitorContext& c, std::int32_t mode, std::int32_t& stepSize, std::int32_t pause) {
    const bool started = cleaner::StartCleaning(c.platform.ramhold, c.state.intCleanSizeMB, mode, stepSize, pause);
    reportRamholdProblem(c);
    return started;
}

bool checkRamholdFlagTask(MonitorContext& c) {
    const bool busy = c.platform.ramhold.GetRamholdMemFlag() == 1;
    reportRamholdProblem(c);
    return busy;
}

void ShowLastRunOrNoRight(MonitorContext& c) {
    long n = 0;
    const std::string last = read(c, section::AppSettingFlag, key::ShExTime, n);
    if (n > 0) {
        setBoth(c, StatusControl::Label4_0, kLastRunCaption);
        setBoth(c, StatusControl::Label4_1, last);
    } else {
        setBoth(c, StatusControl::Label4_0, kNoRightCaption);
        setBoth(c, StatusControl::Label4_1, "");
    }
}

void CleanAndRecord(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!RunMemClean(c, s.intMemCleanForm, s.lngSlowStepSize, s.lngSlowSleepTime)) return;
    s.strShExTime = c.nowText();
    write(c, section::AppSettingFlag, key::ShExTime, s.strShExTime);
    setBoth(c, StatusControl::Label4_1, s.strShExTime);
}

void MemCleanTick(MonitorContext& c) {
    MonitorState& s = c.state;
    // 1. Who holds the right.
    long n = 0;
    const std::string holderName = GetUser::GetMemCleanRightUserName(c.platform, s, n);
    const std::string tip = n > 0 ? kHolderTooltip + holderName : std::string(kNoHolderTooltip);
    for (StatusControl control : {StatusControl::Label4_0, StatusControl::Label4_1, StatusControl::Frame1})
        c.ui.setTooltip(StatusWindow::Simple, control, tip);
    for (StatusControl control : {StatusControl::Label4_0, StatusControl::Label4_1})
        c.ui.setTooltip(StatusWindow::Graph, control, tip);

    // 2. A copy without the right shows when the cleaner last ran.
    if (!s.bolMemCleanRight) ShowLastRunOrNoRight(c);

    // 3. Is the system-start account still alive?
    if (n > 0 && holderName == kSsaName && !s.bolSsaWarned) SystemStartWatch(c);

    // 4. The cleaner's own work.
    if (!s.bolIniWriteFlag) ProbeSettingsWrite(c);
    if (!s.bolIniWriteFlag) return;
    ConfirmMemCleanRight(c);
    if (s.bolMemCleanRight) ResetRightChallenge(c);
    ReadMemCleanSetting(c);
    if (!checkRamholdFlagTask(c)) {
        ChallengeMemCleanRight(c);
        RefreshMemoryStatus(c);
        if (static_cast<std::int64_t>(std::min<std::uint64_t>(s.curAvailPhys, INT64_MAX)) > s.decCleanTrigger) return;
        // A message box raised above may have held this tick up for minutes.
        ConfirmMemCleanRight(c);
        if (s.bolMemCleanRight) {
            if (!ProcessWatch::checkProcessTask(c.platform, s, s.watchNames)) {
                CleanAndRecord(c);
            }
        } else {
            GetUser::ScanUserProfiles(c.platform, s);
            OpeIni::ClaimMemCleanRight(c.platform, s);
            if (s.bolMemCleanRight) {
                // Claimed: renewed at once, so that challengers see the
                // holder alive from this minute on.
                ResetRightChallenge(c);
                return;
            }
            const std::string countText = read(c, section::AppSettingFlag, key::MemCleanRightTime, n);
            const auto count = leadingNumber(countText);
            if (n > 0 && count) {
                // Counted down only where no renewal came in since the read.
                if (*count >= 0)
                    writeIf(c, {{section::AppSettingFlag, key::MemCleanRightTime, countText}}, section::AppSettingFlag,
                            key::MemCleanRightTime, std::to_string(*count - 1));
                // At zero or below: the holder has not renewed for three
                // low-memory minutes. Below zero too, so that a challenger
                // that went away while armed does not leave the right stuck.
                // The own counter starts again from three, so that the
                // holder gets three minutes to show it is alive whatever an
                // earlier challenge left there.
                if (*count - 1 <= 0 && !s.bolRightChallenge) {
                    s.bolRightChallenge = true;
                    s.lngLastChallenge = 0;
                    s.strChallengedHolder = read(c, section::AppSettingFlag, key::MemCleanRightUser, n);
                    write(c, section::GetRightChallenge, s.strCurrentUserSid, "3");
                }
            }
        }
    } else if (s.intMemCleanForm == 1 && ProcessWatch::checkProcessTask(c.platform, s, s.watchNames)) {
        c.platform.ramhold.LetRamholdBreak();
    }
}

void ResetRightChallenge(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!cleaner::RenewRightCounters(c.platform, s, s.strUserSid)) s.bolMemCleanRight = false;
}

void ConfirmMemCleanRight(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.bolMemCleanRight || s.strCurrentUserSid.empty()) return;
    long n = 0;
    const std::string holder = read(c, section::AppSettingFlag, key::MemCleanRightUser, n);
    if (n > 0 && holder == s.strCurrentUserSid) return;
    if (n == 0 || holder == ini::word::NoUser) {
        // Nobody is named: the right is still this copy's, as a claim
        // would make it.
        if (writeIf(c, {{section::AppSettingFlag, key::MemCleanRightUser, n > 0 ? holder : ""}},
                    section::AppSettingFlag, key::MemCleanRightUser, s.strCurrentUserSid) == profile::WriteOutcome::Written)
            return;
    }
    // Another copy took the right while this one did not renew it (its tick
    // was held up by a message box, or the file could not be written).
    s.bolMemCleanRight = false;
    ShowLastRunOrNoRight(c);
}

void ProbeSettingsWrite(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.strCurrentUserSid.empty()) return;
    s.bolIniWriteFlag =
        IniOpe(c.platform, s).IniWriteTask(section::UserAccountName, s.strCurrentUserSid, s.strLogonUserName);
}

void ReleaseMemCleanRight(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.bolMemCleanRight || s.strCurrentUserSid.empty()) return;
    writeIf(c, {{section::AppSettingFlag, key::MemCleanRightUser, s.strCurrentUserSid}}, section::AppSettingFlag,
            key::MemCleanRightUser, ini::word::NoUser);
    s.bolMemCleanRight = false;
}

void ChallengeMemCleanRight(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.bolRightChallenge || s.strCurrentUserSid.empty()) return;
    auto standDown = [&] {
        s.bolRightChallenge = false;
        s.lngLastChallenge = 0;
    };
    long n = 0;
    const std::string counter = read(c, section::GetRightChallenge, s.strCurrentUserSid, n);
    const auto value = leadingNumber(counter);
    if (n == 0 || !value) return;
    const std::int64_t next = *value - 1;
    if (s.lngLastChallenge != 0 && next >= s.lngLastChallenge) {
        // The holder renewed the counter: it is alive.
        standDown();
        return;
    }
    s.lngLastChallenge = static_cast<std::int32_t>(std::clamp<std::int64_t>(next, INT32_MIN, INT32_MAX));
    // The counter goes down only where the holder did not renew it since it
    // was read: a renewal is never written over.
    const std::string nextText = std::to_string(next);
    auto r = writeIf(c, {{section::GetRightChallenge, s.strCurrentUserSid, counter}}, section::GetRightChallenge,
                     s.strCurrentUserSid, nextText);
    if (r == profile::WriteOutcome::Unchanged) standDown();
    if (r != profile::WriteOutcome::Written || next > 0) return;
    // Taken from the holder that stopped renewing, and only while neither a
    // renewal nor another challenger came in between.
    r = writeIf(c,
                {{section::GetRightChallenge, s.strCurrentUserSid, nextText},
                 {section::AppSettingFlag, key::MemCleanRightUser, s.strChallengedHolder}},
                section::AppSettingFlag, key::MemCleanRightUser, s.strCurrentUserSid);
    if (r != profile::WriteOutcome::Written) {
        standDown();
        return;
    }
    s.bolMemCleanRight = true;
    c.ui.setText(StatusWindow::Simple, StatusControl::Label4_0, kLastRunCaption);
    s.bolRightChallenge = false;
    MemCleanTick(c);
}

void CheckSlowCleanBreak(MonitorContext& c) {
    const MonitorState& s = c.state;
    if (s.bolMemCleanRight && s.intMemCleanForm == 1 &&
        static_cast<std::int64_t>(std::min<std::uint64_t>(s.curAvailPhys, INT64_MAX)) > s.decCleanTrigger)
        c.platform.ramhold.LetRamholdBreak();
}

} // namespace tidemark::monitor::MemSet
