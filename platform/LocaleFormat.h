// Dates and times in the user's default formats.
#pragma once
#include <string>
#include "platform/Clock.h"

namespace tidemark::platform {

class LocaleFormat {
public:
    virtual ~LocaleFormat() = default;
    virtual std::string shortDate(const LocalTime& time) = 0;   // 2026/12/07 in Japan
    virtual std::string longTime(const LocalTime& time) = 0;    // 9:05:03 in Japan
};

} // namespace tidemark::platform
