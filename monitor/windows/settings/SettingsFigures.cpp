#include "monitor/windows/settings/SettingsFigures.h"

#include <algorithm>

#include "shared/cleaner/CleanerRules.h"
#include "shared/system/NumberText.h"

namespace tidemark::monitor::settings {
namespace {
constexpr std::int64_t kMB = 1048576;
}

std::int64_t figureOf(const std::string& text) { return leadingNumber(text).value_or(0); }

bool acceptsTypedCharacter(std::uint32_t code) {
    if (code >= '0' && code <= '9') return true;
    switch (code) {
    case 8: case 127:                            // Backspace, delete
    case 1: case 3: case 22: case 24: case 26:   // Ctrl+A, C, V, X, Z
        return true;
    default:
        return false;
    }
}

Recommended recommendedValues(std::uint64_t totalPhys) {
    const std::int64_t mb = cleaner::defaultTrigger(totalPhys, cleaner::TriggerDefault::Between50And128MB) / kMB;
    return {mb, std::min(mb, kHighestSizeMB)};
}

std::int64_t highestSizeMB(std::uint64_t totalPhys) {
    return std::max<std::int64_t>(cleaner::asSigned(totalPhys) / kMB - 64, 0);
}

bool sizeTooLarge(std::int64_t sizeMB, std::uint64_t totalPhys) {
    // In KB as the comparison has always been made; sizes here are at most
    // 4096 MB, far from overflow.
    const std::int64_t clamped = std::clamp<std::int64_t>(sizeMB, INT32_MIN, INT32_MAX);
    return (clamped + 64) * 1024 > cleaner::asSigned(totalPhys / 1024);
}

} // namespace tidemark::monitor::settings
