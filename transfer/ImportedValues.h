// The checks a value read from a transfer file passes before it is written
// to the settings file. Transfer files come from other computers and other
// years: every value is untrusted text.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tidemark::transfer {

// A run of decimal digits and nothing else (no sign, no blank). A number
// beyond 64 bits reads as UINT64_MAX: larger than any limit.
std::optional<std::uint64_t> decimalNumber(std::string_view text);

// What this computer allows: the highest trigger the cleaner keeps (in whole
// MB, and in bytes), and the cleaning size in MB, physical memory less
// 64 MiB; never below zero.
struct SizeLimits {
    std::uint64_t triggerMB = 0;
    std::uint64_t triggerBytes = 0;
    std::uint64_t sizeMB = 0;
};
SizeLimits sizeLimits(std::uint64_t totalPhysBytes);

// A value and whether it had to be lowered to the limit.
struct Limited {
    std::uint64_t value = 0;
    bool lowered = false;
};
// The trigger in bytes held at the limit.
Limited limitTrigger(std::uint64_t bytes, const SizeLimits& limits);
// The cleaning size in MB held at the limit, and at the most the cleaner
// ever claims.
Limited limitCleanSize(std::uint64_t megabytes, const SizeLimits& limits);
// The largest cleaning size this computer takes, as the warning names it.
std::uint64_t largestCleanSize(const SizeLimits& limits);

// "First" or "Slow".
bool isCleaningMode(std::string_view text);
// "True" or "False".
bool isTrueOrFalse(std::string_view text);
// "pause>step": a pause of 1 ms or more and a step of 1 MB or more that the
// cleaner can take.
bool isSlowCleaningSetting(std::string_view text);

// A name the watch list never takes: the protected names and the suite's
// own programs (watching one, the cleaner would never run), letter case
// ignored.
bool isRefusedWatchName(std::string_view name);

} // namespace tidemark::transfer
