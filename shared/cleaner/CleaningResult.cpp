#include "shared/cleaner/CleaningResult.h"

#include <vector>

#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"

namespace tidemark::cleaner {
namespace {

constexpr std::int64_t kMB = 1048576;

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string hhmm(UtcMinute m) { return twoDigits(m.hour) + twoDigits(m.minute); }

std::optional<UtcMinute> parseHhmm(const std::string& text) {
    if (text.size() != 4) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const int hour = std::stoi(text.substr(0, 2)), minute = std::stoi(text.substr(2, 2));
    if (hour > 23 || minute > 59) return std::nullopt;
    return UtcMinute{hour, minute};
}

std::optional<std::int64_t> parseWhole(const std::string& text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    for (std::size_t j = i; j < text.size(); ++j)
        if (text[j] < '0' || text[j] > '9') return std::nullopt;
    return leadingNumber(text);
}

std::vector<std::string> splitCommas(const std::string& value) {
    std::vector<std::string> parts(1);
    for (char c : value) {
        if (c == ',') parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

std::int64_t wholeMB(std::uint64_t bytes) { return static_cast<std::int64_t>(bytes / kMB); }

} // namespace

std::int64_t CleaningResult::freedMB() const {
    const bool gained = freeAfterBytes >= freeBeforeBytes;
    const std::uint64_t difference = gained ? freeAfterBytes - freeBeforeBytes : freeBeforeBytes - freeAfterBytes;
    const auto mb = static_cast<std::int64_t>(difference / kMB);
    return gained ? mb : -mb;
}

const char* reasonText(CleaningReason reason) {
    switch (reason) {
    case CleaningReason::Manual: return "手動";
    case CleaningReason::Startup: return "起動時";
    default: return "トリガー";
    }
}

const char* endWord(CleaningEnd end) {
    switch (end) {
    case CleaningEnd::BrokenOff: return "BrokenOff";
    case CleaningEnd::NotRun: return "NotRun";
    default: return "Done";
    }
}

std::string resultValue(const CleaningResult& r) {
    return hhmm(r.started) + "," + reasonText(r.reason) + "," + (r.mode == 1 ? ini::word::Slow : ini::word::First) +
           "," + std::to_string(r.sizeMB) + "," + std::to_string(wholeMB(r.freeBeforeBytes)) + "," +
           std::to_string(wholeMB(r.freeAfterBytes)) + "," + std::to_string(r.durationMs) + "," + endWord(r.end) + "," +
           (r.nextAttempt ? hhmm(*r.nextAttempt) : std::string());
}

std::optional<CleaningResult> parseResultValue(const std::string& value) {
    const std::vector<std::string> f = splitCommas(value);
    if (f.size() != 9) return std::nullopt;
    CleaningResult r;
    const auto started = parseHhmm(f[0]);
    if (!started) return std::nullopt;
    r.started = *started;
    bool known = false;
    for (CleaningReason reason : {CleaningReason::Trigger, CleaningReason::Manual, CleaningReason::Startup}) {
        if (f[1] != reasonText(reason)) continue;
        r.reason = reason;
        known = true;
    }
    if (!known) return std::nullopt;
    if (f[2] == ini::word::Slow) r.mode = 1;
    else if (f[2] == ini::word::First) r.mode = 0;
    else return std::nullopt;
    const auto size = parseWhole(f[3]), before = parseWhole(f[4]), after = parseWhole(f[5]),
               duration = parseWhole(f[6]);
    if (!size || !before || !after || !duration || *before < 0 || *after < 0 || *duration < 0 || *size < 0 ||
        *size > INT32_MAX)
        return std::nullopt;
    r.sizeMB = static_cast<std::int32_t>(*size);
    // Whole MB in the file; the bytes below them are lost, as they are on
    // every reader's screen.
    if (*before > INT64_MAX / kMB || *after > INT64_MAX / kMB) return std::nullopt;
    r.freeBeforeBytes = static_cast<std::uint64_t>(*before) * kMB;
    r.freeAfterBytes = static_cast<std::uint64_t>(*after) * kMB;
    r.durationMs = *duration;
    if (f[7] == endWord(CleaningEnd::Done)) r.end = CleaningEnd::Done;
    else if (f[7] == endWord(CleaningEnd::BrokenOff)) r.end = CleaningEnd::BrokenOff;
    else if (f[7] == endWord(CleaningEnd::NotRun)) r.end = CleaningEnd::NotRun;
    else return std::nullopt;
    if (!f[8].empty()) {
        r.nextAttempt = parseHhmm(f[8]);
        if (!r.nextAttempt) return std::nullopt;
    }
    return r;
}

int minutesAheadOfUtc(int localHour, int localMinute, int utcHour, int utcMinute) {
    int ahead = (localHour * 60 + localMinute) - (utcHour * 60 + utcMinute);
    // Zones run from 12 hours behind to 14 ahead; a reading across midnight
    // comes out a day off.
    if (ahead > 14 * 60) ahead -= 1440;
    if (ahead < -12 * 60) ahead += 1440;
    return ahead;
}

UtcMinute addMinutes(UtcMinute at, int minutes) {
    const int total = (((at.hour * 60 + at.minute + minutes) % 1440) + 1440) % 1440;
    return UtcMinute{total / 60, total % 60};
}

std::string localHourMinute(UtcMinute at, int ahead) {
    const UtcMinute local = addMinutes(at, ahead);
    return twoDigits(local.hour) + ":" + twoDigits(local.minute);
}

int minutesUntil(UtcMinute now, UtcMinute at) {
    return (((at.hour * 60 + at.minute) - (now.hour * 60 + now.minute)) % 1440 + 1440) % 1440;
}

} // namespace tidemark::cleaner
