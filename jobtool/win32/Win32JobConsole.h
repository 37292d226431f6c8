// Jobsmith's console on Windows: wide text to a console window; to a pipe or
// a file, the bytes of the Japanese code page (932), so a calling program or
// script reads what a console would show.
#pragma once
#include "jobtool/core/JobConsole.h"

namespace tidemark::jobtool::win32 {

class Win32JobConsole final : public JobConsole {
public:
    void write(const std::string& text) override;
    std::optional<std::string> readLine() override;
    std::optional<std::string> readSecretLine() override;

    static constexpr unsigned kCodePage = 932;
    // Longer lines are read to their end but kept only this far: enough for
    // the caller to see that they are too long.
    static constexpr std::size_t kMaxKeptUnits = 1024;

private:
    std::optional<std::string> read(bool secret);
};

} // namespace tidemark::jobtool::win32
