// The cleaner's rules without any window: the stored cleaner settings with
// their defaults and limits, the cleaning call, and the renewal of the right's
// counters. The main program and the system-start companion both clean by
// these rules.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::cleaner {

inline constexpr std::int64_t k50MB = 52428800;
inline constexpr std::int64_t k64MB = 67108864;
inline constexpr std::int64_t k128MB = 134217728;
inline constexpr std::int32_t kDefaultSlowStep = 5242880;
inline constexpr std::int32_t kDefaultSlowPause = 5000;
inline constexpr std::int32_t kMaxCleanSizeMB = 4096;
inline constexpr std::int32_t kMaxSlowStepMB = 2047;   // the largest step that fits 32 bits in bytes

// How the trigger is found when none is stored: a third of physical memory,
// at least 50 MB, and for the main program at most 128 MB.
enum class TriggerDefault { Between50And128MB, AtLeast50MB };

struct CleanerSettings {
    std::int64_t trigger = 0;              // bytes of available memory
    std::int16_t sizeMB = 0;               // claimed per cleaning
    std::int32_t mode = 0;                 // 0 First, 1 Slow
    std::int32_t slowPause = kDefaultSlowPause;   // ms between steps
    std::int32_t slowStep = kDefaultSlowStep;     // bytes per step
};

std::int64_t defaultTrigger(std::uint64_t totalPhys, TriggerDefault rule);

// Trigger, size, mode and slow settings as stored, each with its default
// where it is missing or unusable and held within its limits; nullopt when
// the file could not be read (a missing value is not an unread one).
std::optional<CleanerSettings> readCleanerSettings(platform::Platform& platform, ProgramState& state,
                                                   std::uint64_t totalPhys, TriggerDefault rule);

// The cleaning size when none is stored: the trigger in MB, capped at
// kMaxCleanSizeMB when asked.
std::int16_t sizeFromTrigger(std::int64_t trigger, bool capped);

// One call of the allocation library: a slow cleaning in mode 1 with a
// pause of at least 1 ms (a step of 0 or less takes the default, in place),
// otherwise a fast one; nothing while a cleaning of the same kind runs.
// The size is held at kMaxCleanSizeMB, in place. True when a cleaning was
// started and the library had everything it needed.
bool startCleaning(platform::AllocationLibrary& library, std::int16_t& sizeMB, std::int32_t mode,
                   std::int32_t& stepSize, std::int32_t pause);

// The holder's renewal, one batch write made only while the file still
// names the holder: "MemCleanRightTime" = "3", each extra value given, and
// "3" under [GetRightChallenge] for every SID of the profile list and every
// key already there (a newcomer's challenge is answered too). Keys of
// accounts that no longer have a profile leave [UserAccountName],
// [LocalProfileName] and [GetRightChallenge] in the same write. The write's
// result goes to the state's write flag.
struct ExtraValue {
    std::string key, value;   // in [AppSettingFlag]
};
enum class RenewalOutcome {
    Renewed,
    NotHolder,   // the file names another holder: nothing written
    Failed,      // not read or not written: tried again next time
};
// removeDeparted: the state's profile list was read just now, so keys of
// accounts missing from it may go.
RenewalOutcome renewRightCounters(platform::Platform& platform, ProgramState& state,
                                  const std::vector<profile::ExpectedValue>& holderNamed,
                                  const std::vector<ExtraValue>& extra = {}, bool removeDeparted = false);

// The highest trigger, one rule for the cleaner, the settings window and the
// import: the cleaner replaces a stored trigger at or above physical memory
// less 64 MB by a third of memory, so the highest it keeps is one byte below
// that (negative on a machine too small for any), and the highest whole MB a
// window or an import sets is the largest strictly below it (447 on 512 MB,
// 0 where there is none).
std::int64_t highestTrigger(std::uint64_t totalPhys);
std::int64_t highestTriggerMB(std::uint64_t totalPhys);

// Available memory as a signed count, for comparison with the trigger.
inline std::int64_t asSigned(std::uint64_t bytes) {
    return bytes > static_cast<std::uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(bytes);
}

} // namespace tidemark::cleaner
