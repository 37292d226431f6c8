#include "transfer/ImportedValues.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "shared/cleaner/CleanerRules.h"
#include "shared/cleaner/ProcessWatch.h"

namespace tidemark::transfer {
namespace {
constexpr std::uint64_t kMiB = 1048576;
} // namespace

std::optional<std::uint64_t> decimalNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        value = (value > (kMax - digit) / 10) ? kMax : value * 10 + digit;
    }
    return value;
}

SizeLimits sizeLimits(std::uint64_t total) {
    SizeLimits l;
    // The cleaner keeps nothing above the highest trigger: an import held
    // there keeps it, in whole MB as the settings window sets it.
    l.triggerMB = static_cast<std::uint64_t>(cleaner::highestTriggerMB(total));
    l.triggerBytes = l.triggerMB * kMiB;
    const std::uint64_t totalMB = total / kMiB;
    l.sizeMB = totalMB > 64 ? totalMB - 64 : 0;
    return l;
}

Limited limitTrigger(std::uint64_t bytes, const SizeLimits& limits) {
    if (bytes > limits.triggerBytes) return {limits.triggerBytes, true};
    return {bytes, false};
}

std::uint64_t largestCleanSize(const SizeLimits& limits) {
    return std::min<std::uint64_t>(limits.sizeMB, static_cast<std::uint64_t>(cleaner::kMaxCleanSizeMB));
}

Limited limitCleanSize(std::uint64_t megabytes, const SizeLimits& limits) {
    // megabytes × 1 MiB > trigger limit, without the product.
    const std::uint64_t largest = largestCleanSize(limits);
    if (megabytes > largest) return {largest, true};
    return {megabytes, false};
}

bool isCleaningMode(std::string_view text) { return text == "First" || text == "Slow"; }

bool isTrueOrFalse(std::string_view text) { return text == "True" || text == "False"; }

bool isSlowCleaningSetting(std::string_view text) {
    const auto mark = text.find('>');
    if (mark == std::string_view::npos) return false;
    const auto pause = decimalNumber(text.substr(0, mark));
    const auto step = decimalNumber(text.substr(mark + 1));
    return pause && step && *pause >= 1 && *pause <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) &&
           *step >= 1 && *step <= static_cast<std::uint64_t>(cleaner::kMaxSlowStepMB);
}

namespace {
bool sameNameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

bool isRefusedWatchName(std::string_view name) {
    // The protected names, ">" between them, and the suite's programs that
    // are not among them.
    const std::string_view refused[] = {cleaner::kProtectedNames, "Tidemark.exe>Stowel.exe>Inkett.exe>Grantel.exe"};
    for (std::string_view list : refused) {
        while (!list.empty()) {
            const auto gt = list.find('>');
            if (sameNameNoCase(name, list.substr(0, gt))) return true;
            list = gt == std::string_view::npos ? std::string_view() : list.substr(gt + 1);
        }
    }
    return false;
}

} // namespace tidemark::transfer
