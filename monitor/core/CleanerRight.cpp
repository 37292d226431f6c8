#include "monitor/core/CleanerRight.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "monitor/core/MemoryCleaner.h"
#include "monitor/core/MinuteTick.h"
#include "monitor/core/MonitorSettings.h"
#include "shared/accounts/ProfileScan.h"
#include "shared/accounts/RightHolder.h"
#include "shared/cleaner/CleanerRules.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"

namespace tidemark::monitor::right {
namespace {
namespace key = ini::key;
namespace section = ini::section;

std::string minuteStamp(const platform::LocalTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}
} // namespace

void renew(MonitorContext& c) {
    MonitorState& s = c.state;
    // Who is on the machine now: a user who logged on for the first time
    // since the claim has a counter to renew, and a departed account's keys go.
    const bool listRead = refreshProfileList(c.platform, s);
    cleaner::RenewalOutcome r =
        cleaner::renewRightCounters(c.platform, s, holderStillNamed({s.user.sid, s.user.session}), {}, listRead);
    // A file written before sessions were recorded names the account alone.
    if (r == cleaner::RenewalOutcome::NotHolder)
        r = cleaner::renewRightCounters(c.platform, s, holderStillNamed({s.user.sid, ""}), {}, listRead);
    // A failed write keeps the right while the file names this copy: the
    // next minute tries again. Only another holder in the file ends it.
    if (r == cleaner::RenewalOutcome::NotHolder) {
        standDown(c);
        cleaning::showLastRunOrNoRight(c);
    }
}

void standDown(MonitorContext& c) {
    MonitorState& s = c.state;
    s.right.held = false;
    if (c.platform.ramhold.stepwiseClaimStatus() == platform::slowstatus::Claiming) c.platform.ramhold.requestBreak();
}

bool confirm(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.right.held || s.user.sid.empty()) return false;
    SettingsFiles files(c.platform, s);
    const std::optional<RightHolder> holder = readRightHolder(files);
    if (!holder) return false;
    if (namesThisCopy(*holder, s)) return true;
    if (holder->nobody()) {
        // Nobody is named: the right is still this copy's, as a claim
        // would make it.
        const auto r = files.writeAllIf(holderStillNamed(*holder), nameThisCopy(s));
        s.settings.sharedWritable = r != profile::WriteOutcome::Failed;
        if (r == profile::WriteOutcome::Written) return true;
        if (r == profile::WriteOutcome::Failed) return false;
    }
    // Another copy took the right while this one did not renew it (its tick
    // was held up by a message box, or the file could not be written).
    standDown(c);
    cleaning::showLastRunOrNoRight(c);
    return false;
}

void probeSettingsWrite(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.user.sid.empty()) return;
    s.settings.sharedWritable =
        SettingsFiles(c.platform, s).write(section::UserAccountName, s.user.sid, s.user.logonName);
}

void countHolderDown(MonitorContext& c) {
    MonitorState& s = c.state;
    SettingsFiles files(c.platform, s);
    const auto countText = files.tryRead(section::AppSettingFlag, key::MemCleanRightTime);
    const auto countedIn = files.tryRead(section::AppSettingFlag, key::MemCleanRightTimeCounted);
    if (!countText || !countedIn) return;
    const auto count = leadingNumber(*countText);
    if (!count) return;
    // Counted down once a minute for the machine, and only where no renewal
    // came in since the read.
    std::int64_t left = *count;
    // The minute in UTC: every session counts in the same one, whatever its
    // own time zone.
    const std::string thisMinute = minuteStamp(c.platform.clock.universalTime());
    if (*count >= 0 && *countedIn != thisMinute) {
        const auto r = files.writeAllIf(
            {{section::AppSettingFlag, key::MemCleanRightTime, *countText},
             {section::AppSettingFlag, key::MemCleanRightTimeCounted, *countedIn}},
            {{section::AppSettingFlag, std::string(key::MemCleanRightTime), std::to_string(*count - 1)},
             {section::AppSettingFlag, std::string(key::MemCleanRightTimeCounted), thisMinute}});
        s.settings.sharedWritable = r != profile::WriteOutcome::Failed;
        if (r == profile::WriteOutcome::Written) left = *count - 1;
    }
    // At zero or below: the holder has not renewed for three low-memory
    // minutes. Below zero too, so that a challenger that went away while
    // armed does not leave the right stuck. The own counter starts again
    // from three, so that the holder gets three minutes to show it is alive
    // whatever an earlier challenge left there.
    if (left <= 0 && !s.right.challenging) {
        const std::optional<RightHolder> holder = readRightHolder(files);
        if (!holder) return;
        s.right.challenging = true;
        s.right.lastChallenge = 0;
        s.right.challengedHolder = holder->sid;
        s.right.challengedSession = holder->session;
        writeShared(c, section::GetRightChallenge, s.user.sid, "3");
    }
}

void release(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.right.held || s.user.sid.empty()) return;
    // "NoUser" only where the file still names this very copy: a copy that
    // lost the right unnoticed leaves the new holder's right alone.
    const RightHolder me{s.user.sid, s.user.session};
    SettingsFiles files(c.platform, s);
    const auto r = files.writeAllIf(holderStillNamed(me),
                                    {{section::AppSettingFlag, std::string(key::MemCleanRightUser),
                                      std::string(ini::word::NoUser)}});
    if (r == profile::WriteOutcome::Unchanged) {
        // A file written before sessions were recorded names the account alone.
        writeSharedIf(c, holderStillNamed(RightHolder{s.user.sid, ""}), section::AppSettingFlag,
                      key::MemCleanRightUser, ini::word::NoUser);
    }
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
    std::vector<profile::ExpectedValue> expected = holderStillNamed(
        RightHolder{s.right.challengedHolder, s.right.challengedSession});
    expected.push_back({section::GetRightChallenge, s.user.sid, nextText});
    SettingsFiles files(c.platform, s);
    r = files.writeAllIf(expected, nameThisCopy(s));
    s.settings.sharedWritable = r != profile::WriteOutcome::Failed;
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
