// The events the suite writes to the Application log under the source
// "Tidemark", one function per event. The IDs are the message table's
// (win32 message table of Tidemark.exe); each event's fields are its
// insertion strings, in the order given here, so that a collector reads
// them without parsing the sentence.
#pragma once
#include <cstdint>
#include <string>

#include "platform/EventLog.h"
#include "shared/cleaner/CleaningResult.h"

namespace tidemark::events {

namespace id {
// A cleaning, with the same fields whatever its outcome:
//  %1 program, %2 account, %3 start (date and time as "ShExTime" shows it),
//  %4 reason ("トリガー" or "手動"), %5 mode ("First" or "Slow"), %6 size asked (MB),
//  %7 free before (MB), %8 free after (MB), %9 freed (MB, may be negative),
//  %10 duration (seconds, one decimal), %11 end ("Done", "BrokenOff", "NotRun"),
//  %12 trigger (MB), %13 next automatic attempt ("HH:MM" local, or empty),
//  %14 the allocation library's problem (or empty).
inline constexpr std::uint32_t CleaningHelped = 1000;        // Information
inline constexpr std::uint32_t CleaningDidNotHelp = 1001;    // Warning
inline constexpr std::uint32_t CleaningNotRun = 1002;        // Error
// The cleaner right: %1 program, %2 account, %3 holder key (SID or
// "SystemStartAdministrators"), %4 logon session (or empty).
inline constexpr std::uint32_t RightTaken = 1100;            // Information
inline constexpr std::uint32_t RightGivenUp = 1101;          // Information
// The system-start cleaner seems to have stopped: %1 program, %2 account,
// %3 "SSAUserTime" as read (HHMM, UTC).
inline constexpr std::uint32_t SystemStartStale = 1200;      // Warning
// Settings imported without a window: %1 transfer file, %2 detail.
inline constexpr std::uint32_t SettingsImported = 1300;      // Information
inline constexpr std::uint32_t SettingsNotImported = 1301;   // Error
} // namespace id

// Who reports: the program's name and the account it runs under.
struct Reporter {
    std::string program;
    std::string account;
};

struct CleaningDetails {
    std::string startedText;        // as "ShExTime" holds it
    std::int64_t triggerBytes = 0;
    std::string nextAttemptLocal;   // "HH:MM", empty without a wait
    std::string libraryProblem;     // empty unless the library could not be used
};

// Information where the cleaning lifted free memory above the trigger,
// Warning where it did not, Error where it could not run.
void reportCleaning(platform::EventLog& log, const Reporter& who, const cleaner::CleaningResult& result,
                    const CleaningDetails& details, bool helped);
void reportRightTaken(platform::EventLog& log, const Reporter& who, const std::string& holderKey,
                      const std::string& session);
void reportRightGivenUp(platform::EventLog& log, const Reporter& who, const std::string& holderKey,
                        const std::string& session);
void reportSystemStartStale(platform::EventLog& log, const Reporter& who, const std::string& stamp);
void reportSettingsImported(platform::EventLog& log, const std::string& file, const std::string& detail);
void reportSettingsNotImported(platform::EventLog& log, const std::string& file, const std::string& detail);

// Seconds with one decimal, rounded: 3249 ms → "3.2".
std::string secondsText(std::int64_t ms);

} // namespace tidemark::events
