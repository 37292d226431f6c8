#include "shared/cleaner/CleanerRules.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "shared/system/NumberText.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"

namespace tidemark::cleaner {
namespace {

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}


namespace key = ini::key;
namespace section = ini::section;

std::int16_t clampToInt16(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

} // namespace

std::int64_t defaultTrigger(std::uint64_t totalPhys, TriggerDefault rule) {
    std::int64_t t = asSigned(totalPhys / 3);
    if (t < k50MB) t = k50MB;
    if (rule == TriggerDefault::Between50And128MB && t >= k128MB) t = k128MB;
    return t;
}

std::int64_t highestTrigger(std::uint64_t totalPhys) { return asSigned(totalPhys) - k64MB - 1; }

std::int64_t highestTriggerMB(std::uint64_t totalPhys) {
    return std::max<std::int64_t>(highestTrigger(totalPhys), 0) / 1048576;
}

std::int16_t sizeFromTrigger(std::int64_t trigger, bool capped) {
    std::int64_t mb = trigger / 1048576;
    if (capped && mb > kMaxCleanSizeMB) mb = kMaxCleanSizeMB;
    return clampToInt16(mb);
}

std::optional<CleanerSettings> readCleanerSettings(platform::Platform& platform, ProgramState& state,
                                                   std::uint64_t totalPhys, TriggerDefault rule) {
    CleanerSettings out;
    SettingsFiles files(platform, state);
    const std::int64_t total = asSigned(totalPhys);
    const auto storedTrigger = files.tryRead(section::AppSettingFlag, key::MemCleanExeMemSize);
    const auto storedSize = files.tryRead(section::AppSettingFlag, key::MemCleanSize);
    const auto form = files.tryRead(section::AppSettingFlag, key::MemCleanForm);
    const auto slow = files.tryRead(section::AppSettingFlag, key::SlowMemCleanSetting);
    if (!storedTrigger || !storedSize || !form || !slow) return std::nullopt;

    // Trigger. A value that is not a number, or is negative, counts as absent.
    const auto trigger = leadingNumber(*storedTrigger);
    if (trigger && *trigger >= 0) {
        out.trigger = *trigger;
        if (out.trigger > highestTrigger(totalPhys)) out.trigger = total / 3;
    } else {
        out.trigger = defaultTrigger(totalPhys, rule);
    }

    // Size, in MB within 16 bits; never more than physical memory less 64 MB.
    const auto size = leadingNumber(*storedSize);
    if (size && *size >= 0) {
        const std::int64_t totalMB = total / 1048576;
        std::int64_t mb = *size;
        if (totalMB - 64 <= mb) mb = totalMB - 64;
        out.sizeMB = clampToInt16(mb);
    } else {
        out.sizeMB = sizeFromTrigger(out.trigger, true);
    }

    // Mode.
    out.mode = *form == ini::word::Slow ? 1 : 0;

    // Slow settings "pause>step(MB)"; a part that is missing, not a number or
    // negative takes its default, a step above 2047 MB is held there.
    const auto gt = slow->find('>');
    if (gt != std::string::npos) {
        const auto pause = leadingNumber(slow->substr(0, gt));
        const auto step = leadingNumber(slow->substr(gt + 1));
        if (pause && *pause >= 0) out.slowPause = static_cast<std::int32_t>(std::min<std::int64_t>(*pause, INT32_MAX));
        if (step && *step >= 0)
            out.slowStep = static_cast<std::int32_t>(std::min<std::int64_t>(*step, kMaxSlowStepMB) * 1048576);
    }
    return out;
}

bool startCleaning(platform::AllocationLibrary& library, std::int16_t& sizeMB, std::int32_t mode,
                   std::int32_t& stepSize, std::int32_t pause) {
    if (sizeMB > kMaxCleanSizeMB) sizeMB = kMaxCleanSizeMB;
    bool fast = true;
    bool called = false;
    if (mode == 1) {
        if (library.stepwiseClaimStatus() == platform::slowstatus::Claiming) {
            fast = false;
        } else {
            if (stepSize <= 0) stepSize = kDefaultSlowStep;
            if (pause >= 1) {
                library.startStepwiseClaim(sizeMB, stepSize, pause);
                fast = false;
                called = true;
            }
        }
    }
    if (fast && library.fastClaimStatus() != 1) {
        library.startFastClaim(sizeMB);
        called = true;
    }
    return called && library.loadProblem().empty();
}

RenewalOutcome renewRightCounters(platform::Platform& platform, ProgramState& state,
                                  const std::vector<profile::ExpectedValue>& holderNamed,
                                  const std::vector<ExtraValue>& extra, bool removeDeparted) {
    SettingsFiles files(platform, state);
    const auto challenged = files.tryKeyNames(section::GetRightChallenge);
    const auto accounts = files.tryKeyNames(section::UserAccountName);
    const auto profileNames = files.tryKeyNames(section::LocalProfileName);
    if (!challenged || !accounts || !profileNames) return RenewalOutcome::Failed;

    // An empty profile list (a scan that failed) removes nobody.
    const std::vector<std::string>& sids = state.profiles.sids;
    auto hasProfile = [&](const std::string& key) {
        if (!removeDeparted || sids.empty() || key == ini::word::SystemStartAdministrators) return true;
        for (const auto& sid : sids)
            if (equalsIgnoringAsciiCase(sid, key)) return true;
        return false;
    };
    std::vector<profile::ProfileEdit> edits{{section::AppSettingFlag, std::string(key::MemCleanRightTime), "3"}};
    for (const ExtraValue& e : extra) edits.push_back({section::AppSettingFlag, e.key, e.value});
    std::vector<std::string> renewed;
    auto renew = [&](const std::string& key) {
        for (const auto& done : renewed)
            if (equalsIgnoringAsciiCase(done, key)) return;
        renewed.push_back(key);
        edits.push_back({section::GetRightChallenge, key, "3"});
    };
    for (const auto& sid : sids) renew(sid);
    for (const auto& key : *challenged) {
        if (hasProfile(key)) renew(key);
        else edits.push_back({section::GetRightChallenge, key, std::nullopt});
    }
    for (const auto& key : *accounts)
        if (!hasProfile(key)) edits.push_back({section::UserAccountName, key, std::nullopt});
    for (const auto& key : *profileNames)
        if (!hasProfile(key)) edits.push_back({section::LocalProfileName, key, std::nullopt});

    const profile::WriteOutcome r = files.writeAllIf(holderNamed, edits);
    state.settings.sharedWritable = r != profile::WriteOutcome::Failed;
    return r == profile::WriteOutcome::Written     ? RenewalOutcome::Renewed
           : r == profile::WriteOutcome::Unchanged ? RenewalOutcome::NotHolder
                                                   : RenewalOutcome::Failed;
}

} // namespace tidemark::cleaner
