// Dates and times in the user's default formats.
#pragma once
#include "platform/LocaleFormat.h"

namespace tidemark::win32 {

class Win32LocaleFormat final : public platform::LocaleFormat {
public:
    std::string shortDate(const platform::LocalTime& time) override;
    std::string longTime(const platform::LocalTime& time) override;
};

} // namespace tidemark::win32
