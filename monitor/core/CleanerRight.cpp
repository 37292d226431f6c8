#include "monitor/core/CleanerRight.h"

#include <algorithm>
#include <limits>

#include "monitor/core/MemoryCleaner.h"
#include "monitor/core/MinuteTick.h"
#include "monitor/core/MonitorSettings.h"
#include "shared/cleaner/CleanerRules.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"

namespace tidemark::monitor::right {
namespace {
namespace key = ini::key;
namespace section = ini::section;
} // namespace

void renew(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!cleaner::renewRightCounters(c.platform, s, s.profiles.sids)) s.right.held = false;
}

void confirm(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.right.held || s.user.sid.empty()) return;
    const std::string holder = readShared(c, section::AppSettingFlag, key::MemCleanRightUser);
    if (!holder.empty() && holder == s.user.sid) return;
    if (holder.empty() || holder == ini::word::NoUser) {
        // Nobody is named: the right is still this copy's, as a claim
        // would make it.
        if (writeSharedIf(c, {{section::AppSettingFlag, key::MemCleanRightUser, holder}}, section::AppSettingFlag,
                          key::MemCleanRightUser, s.user.sid) == profile::WriteOutcome::Written)
            return;
    }
    // Another copy took the right while this one did not renew it (its tick
    // was held up by a message box, or the file could not be written).
    s.right.held = false;
    cleaning::showLastRunOrNoRight(c);
}

void probeSettingsWrite(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.user.sid.empty()) return;
    s.settings.sharedWritable =
        SettingsFiles(c.platform, s).write(section::UserAccountName, s.user.sid, s.user.logonName);
}

void countHolderDown(MonitorContext& c) {
    MonitorState& s = c.state;
    const std::string countText = readShared(c, section::AppSettingFlag, key::MemCleanRightTime);
    const auto count = leadingNumber(countText);
    if (!count) return;
    // Counted down only where no renewal came in since the read.
    if (*count >= 0)
        writeSharedIf(c, {{section::AppSettingFlag, key::MemCleanRightTime, countText}}, section::AppSettingFlag,
                      key::MemCleanRightTime, std::to_string(*count - 1));
    // At zero or below: the holder has not renewed for three low-memory
    // minutes. Below zero too, so that a challenger that went away while
    // armed does not leave the right stuck. The own counter starts again
    // from three, so that the holder gets three minutes to show it is alive
    // whatever an earlier challenge left there.
    if (*count - 1 <= 0 && !s.right.challenging) {
        s.right.challenging = true;
        s.right.lastChallenge = 0;
        s.right.challengedHolder = readShared(c, section::AppSettingFlag, key::MemCleanRightUser);
        writeShared(c, section::GetRightChallenge, s.user.sid, "3");
    }
}

void release(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.right.held || s.user.sid.empty()) return;
    writeSharedIf(c, {{section::AppSettingFlag, key::MemCleanRightUser, s.user.sid}}, section::AppSettingFlag,
                  key::MemCleanRightUser, ini::word::NoUser);
    s.right.held = false;
}

void challenge(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.right.challenging || s.user.sid.empty()) return;
    auto standDown = [&] {
        s.right.challenging = false;
        s.right.lastChallenge = 0;
    };
    const std::string counter = readShared(c, section::GetRightChallenge, s.user.sid);
    const auto value = leadingNumber(counter);
    if (!value) return;
    const std::int64_t next = *value - 1;
    if (s.right.lastChallenge != 0 && next >= s.right.lastChallenge) {
        // The holder renewed the counter: it is alive.
        standDown();
        return;
    }
    s.right.lastChallenge = static_cast<std::int32_t>(std::clamp<std::int64_t>(next, INT32_MIN, INT32_MAX));
    // The counter goes down only where the holder did not renew it since it
    // was read: a renewal is never written over.
    const std::string nextText = std::to_string(next);
    auto r = writeSharedIf(c, {{section::GetRightChallenge, s.user.sid, counter}}, section::GetRightChallenge,
                           s.user.sid, nextText);
    if (r == profile::WriteOutcome::Unchanged) standDown();
    if (r != profile::WriteOutcome::Written || next > 0) return;
    // Taken from the holder that stopped renewing, and only while neither a
    // renewal nor another challenger came in between.
    r = writeSharedIf(c,
                      {{section::GetRightChallenge, s.user.sid, nextText},
                       {section::AppSettingFlag, key::MemCleanRightUser, s.right.challengedHolder}},
                      section::AppSettingFlag, key::MemCleanRightUser, s.user.sid);
    if (r != profile::WriteOutcome::Written) {
        standDown();
        return;
    }
    s.right.held = true;
    c.ui.setText(StatusWindow::Simple, StatusControl::LastRunCaption, cleaning::kLastRunCaption);
    s.right.challenging = false;
    runMinuteTick(c);
}

} // namespace tidemark::monitor::right
