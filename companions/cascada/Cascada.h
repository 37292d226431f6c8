// Cascada, the system-start chain program: run by the system-start task with
// "RUN", it records the kind of account the system start runs under and
// starts Corvid; on Windows 2000 it first passes itself on to the AT service
// (AT jobs run as SYSTEM) with "SYS", and that run starts Corvid.
#pragma once
#include <functional>
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::cascada {

inline constexpr const char* kRunWord = "RUN";
inline constexpr const char* kSysWord = "SYS";
inline constexpr const char* kCorvidExe = "Corvid.exe";
inline constexpr const char* kCascadaExe = "Cascada.exe";
inline constexpr int kHandOverWaitSeconds = 10;
inline constexpr int kAtDelayMinutes = 2;

// What the run did, for the shell and for tests.
enum class Outcome { Ended, CorvidStarted, HandedToAt };

// Handles the window messages waiting; false once the session ends.
using MessagePump = std::function<bool()>;

// waitSeconds: n one-second sleeps with the messages handled before each;
// 0 or less waits 60 seconds, more than 300 waits 300. False when the
// session ended during the wait.
bool waitSeconds(platform::Platform& platform, int seconds, const MessagePump& pump);

// The AT command's parameters for a one-time job kAtDelayMinutes from the
// given time: a 24-hour "HH:MM" of the local clock (past midnight it names
// the next day's time), one blank, the quoted program and its word.
std::string atParameters(const platform::LocalTime& now, const std::string& command, const std::string& word);

class AtScheduler {
public:
    AtScheduler(platform::Platform& platform, platform::NativeWindow owner) : platform_(platform), owner_(owner) {}
    // Schedules the job through AT from the system folder; always False.
    bool schedule(const std::string& command, const std::string& word);

private:
    platform::Platform& platform_;
    platform::NativeWindow owner_;
};

Outcome runCascada(platform::Platform& platform, ProgramState& state, const MessagePump& pump);

} // namespace tidemark::cascada
