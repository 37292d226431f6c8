#include "shared/system/NumberText.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace tidemark {

std::optional<std::int64_t> leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long double value = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        long double scale = 0.1L;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
            value += (text[i] - '0') * scale;
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (negative) value = -value;
    constexpr long double kMax = static_cast<long double>(std::numeric_limits<std::int64_t>::max());
    constexpr long double kMin = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    if (value >= kMax) return std::numeric_limits<std::int64_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int64_t>::min();
    // Round half to even, whatever the current rounding mode.
    const long double floorValue = std::floor(value);
    const long double fraction = value - floorValue;
    auto whole = static_cast<std::int64_t>(floorValue);
    if (fraction > 0.5L || (fraction == 0.5L && (whole % 2 != 0))) ++whole;
    return whole;
}

std::string groupedDigits(std::uint64_t value) {
    std::string digits = std::to_string(value);
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[i];
        const std::size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    return out;
}

std::string groupedDigitsOrEmpty(std::uint64_t value) { return value == 0 ? std::string() : groupedDigits(value); }

} // namespace tidemark
