// What the windowless programs (Corvid, Cascada, Grantel) share: the
// exact-word command check, the logon-name retries, the administrator test
// with SYSTEM recognised, and program starts with quoted paths. Their window
// is a hidden owner for the shell calls and the place where the session's
// end arrives; it lives in each program's Win32 shell.
#pragma once
#include <cstdint>
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark::windowless {

inline constexpr const char* kSystemAccountName = "SYSTEM";
inline constexpr const char* kSystemAccountSid = "S-1-5-18";

// The program's whole argument text; the programs accept exactly one word,
// compared with case, and end silently on anything else.
std::string commandWord(platform::Platform& platform);

// The folder the program lies in, without a trailing backslash.
std::string ownFolder(platform::Platform& platform);

struct LogonName {
    std::string name;     // "Unknown User" when not found
    bool found = false;
};

// Cycles of five name queries 1 ms apart (the last counts) and a 500 ms
// pause, until the last query succeeded or 50 cycles have passed.
LogonName findLogonName(platform::Platform& platform);

// The local system account, known by its SID or, failing that, its name.
bool isSystemAccount(platform::Platform& platform, const std::string& name);

// SYSTEM counts as an administrator, a name not found does not, any other
// account is tested for membership of "Administrators".
bool isAdministratorAccount(platform::Platform& platform, const LogonName& logon);

// Starts a program of the suite's own folder by its quoted full path with
// the word, minimised without taking the focus; the shell's answer.
std::intptr_t startSuiteProgram(platform::Platform& platform, platform::NativeWindow owner,
                                const std::string& exeName, const std::string& word);

// A time of day as "HHMM" (SSAUserTime, given the UTC time) and as "HH:MM"
// (24-hour).
std::string hourMinute(const platform::LocalTime& t);
std::string hourColonMinute(int hour, int minute);

} // namespace tidemark::windowless
