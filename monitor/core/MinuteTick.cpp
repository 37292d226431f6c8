#include "monitor/core/MinuteTick.h"

#include <optional>
#include <string>

#include "monitor/core/CleanerRight.h"
#include "monitor/core/CleaningReport.h"
#include "monitor/core/MemoryCleaner.h"
#include "monitor/core/MonitorSettings.h"
#include "shared/accounts/ProfileScan.h"
#include "shared/accounts/UserRegistration.h"
#include "shared/cleaner/ProcessWatch.h"
#include "shared/events/SuiteEvents.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"

namespace tidemark::monitor {
namespace {

using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;

constexpr const char* kHolderTooltip = "メモリークリーナー実行権者は ";
constexpr const char* kNoHolderTooltip = "メモリークリーナー実行権はありません";
constexpr const char* kSystemStartName = ini::word::SystemStartAdministratorsName;

// The system-start cleaner stamps "SSAUserTime" every minute; a stamp more
// than three minutes behind for more than three minutes means that it no
// longer runs (its account's password changed, most likely).
void watchSystemStart(MonitorContext& c) {
    MonitorState& s = c.state;
    const std::string stamp = readShared(c, section::AppSettingFlag, key::SSAUserTime);
    if (stamp.size() < 4) return;
    const auto minutes = leadingNumber(stamp.substr(stamp.size() - 2));
    if (!minutes) return;
    // The current minute less the stamp's minute, modulo an hour, both in
    // UTC: this session's time zone may be half an hour off Corvid's.
    const int now = c.platform.clock.universalTime().minute;
    const int behind = static_cast<int>(((now - *minutes) % 60 + 60) % 60);
    s.systemStart.staleCount = behind > 3 ? s.systemStart.staleCount + 1 : 0;
    if (s.systemStart.staleCount <= 3) return;
    s.systemStart.warned = true;
    events::reportSystemStartStale(c.platform.events, {"Tidemark", s.user.logonName}, stamp);
    const std::string advice = runsAsAdministrator(c) ? "管理者設定からシステムスタート設定をやり直すことを強く推奨します。"
                                                      : "管理者に連絡し、設定をやり直してもらってください。";
    c.message(std::string("システムスタートしているTidemarkの\r") + "アカウントのパスワードが変更されている可能性があります。\r" +
                  "現在プログラムはログオンされていないと思われます。\r" + advice,
              MessageIcon::Error);
}

void showHolder(MonitorContext& c, const std::optional<std::string>& holderName) {
    const std::string tip = holderName ? kHolderTooltip + *holderName : std::string(kNoHolderTooltip);
    for (StatusControl control : {StatusControl::LastRunCaption, StatusControl::LastRunText, StatusControl::NumbersFrame})
        c.ui.setTooltip(StatusWindow::Simple, control, tip);
    for (StatusControl control : {StatusControl::LastRunCaption, StatusControl::LastRunText})
        c.ui.setTooltip(StatusWindow::Graph, control, tip);
}

} // namespace

void runMinuteTick(MonitorContext& c) {
    MonitorState& s = c.state;
    // 1. Who holds the right.
    const std::optional<std::string> holderName = cleanerRightHolderName(c.platform, s);
    showHolder(c, holderName);

    // 2. A copy without the right shows when the cleaner last ran; every
    // copy shows the last cleaning's result.
    if (!s.right.held) cleaning::showLastRunOrNoRight(c);
    cleaning::showLastResult(c);

    // 3. Is the system-start account still alive?
    if (holderName && *holderName == kSystemStartName && !s.systemStart.warned) watchSystemStart(c);
    // A box above may have outlived the program: closed from the tray
    // meanwhile, it gave the right up, and must not take it again.
    if (s.ending) return;

    // 4. The cleaner's own work.
    if (!s.settings.sharedWritable) right::probeSettingsWrite(c);
    if (!s.settings.sharedWritable) return;
    // A holder renews what it has seen to be its own.
    if (right::confirm(c)) right::renew(c);
    cleaning::readSettings(c);   // may show a box, or the settings window
    if (s.ending) return;
    cleaning::watchCleaning(c);
    if (!cleaning::isCleaning(c)) {
        right::challenge(c);
        cleaning::refreshMemoryStatus(c);
        if (cleaner::asSigned(s.memory.availBytes) > s.cleaner.triggerBytes) {
            // Memory is plentiful again: a wait after cleanings that did not
            // help is over.
            if (s.cleaning.cycle.waiting()) {
                s.cleaning.cycle.memoryPlentiful();
                cleaning::showLastResult(c);
            }
            return;
        }
        // A message box raised above may have held this tick up for minutes.
        const bool confirmed = right::confirm(c);
        if (s.right.held) {
            // The watch list is read every minute, whatever the wait; after
            // cleanings that did not help, the next waits its turn.
            if (confirmed && !cleaner::watchedProgramRunning(c.platform, s, s.watchNames) &&
                s.cleaning.cycle.automaticAllowed(c.platform.clock.monotonicMs()))
                cleaning::cleanAndRecord(c, cleaner::CleaningReason::Trigger);
        } else {
            scanUserProfiles(c.platform, s);
            claimCleanerRight(c.platform, s);
            if (s.right.held) {
                // Claimed: renewed at once, so that challengers see the
                // holder alive from this minute on.
                right::renew(c);
                return;
            }
            right::countHolderDown(c);
        }
    } else if (s.cleaner.mode == 1 && cleaner::watchedProgramRunning(c.platform, s, s.watchNames)) {
        s.cleaning.cycle.breakRequested();
        c.platform.ramhold.requestBreak();
    }
}

} // namespace tidemark::monitor
