// Corvid, the system-start companion: with "PassTest" it proves that a
// scheduled task could start under an account; with "RUN" it is the memory
// cleaner of the system-start account, holding the memory-cleaner right for
// the whole machine as "SystemStartAdministrators" until the session ends.
// The shell drives it: start(), then runLoop() with a pump of the hidden
// window's messages that reports the session's end, then exit().
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"
#include "shared/cleaner/CleanerRules.h"
#include "shared/cleaner/CleaningCycle.h"
#include "shared/events/SuiteEvents.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::corvid {

inline constexpr const char* kPassTestWord = "PassTest";
inline constexpr const char* kRunWord = "RUN";
inline constexpr const char* kInstanceName = "Corvid";
inline constexpr const char* kGrantelExe = "Grantel.exe";
inline constexpr const char* kErrMemSize = "Err Mem Size!";
inline constexpr const char* kNotRunYet = "まだ実行されていません";
inline constexpr const char* kOldSystemMessage = "このプログラムは Windows2000 以上で動作します";

// The loop's cadence: a pass of five one-second sleeps, the settings read
// every third pass, the periodic check every twelfth.
inline constexpr int kSecondsPerPass = 5;
inline constexpr int kPassesPerSettingsRead = 3;
inline constexpr int kPassesPerCheck = 12;

struct CorvidState : ProgramState {
    CorvidState() { programTitle = "Corvid"; }
    windowless::LogonName logon;
    bool actsAsHolder = true;      // acts as the system-start right holder (renews the counters)
    bool rightLost = false;            // the file named another holder: never cleans again
    bool settingsValid = false;
    std::string lastRunText;
    cleaner::CleanerSettings cleanerValues;
    std::uint64_t totalPhys = 0, availPhys = 0;
    std::vector<std::string> watchNames;
    // Passes since the last settings reading and since the last periodic
    // check; each restarts at 0 after its use.
    int passesSinceSettings = 0, passesSinceCheck = 0;
    // The cleanings from start to result, and the wait after ones that did
    // not help.
    cleaner::CleaningCycle cleaning;
    std::string cleaningStartedText;
};

enum class StartOutcome { Ended, Running };

class Corvid {
public:
    Corvid(platform::Platform& platform, CorvidState& state) : platform_(platform), s_(state) {}

    // The start-up of both words; Running only for "RUN" after its first
    // cleaning and check.
    StartOutcome start();
    // Passes until pumpMessages answers false (the session ends). The pump
    // handles the window messages waiting and runs between the sleeps.
    void runLoop(const std::function<bool()>& pumpMessages);
    // Lets the allocation library give its memory back; writes nothing.
    void exit();

    // The pieces of a pass, each as the loop runs it.
    void fiveSecondCheck();
    bool readSettings();
    void periodicCheck();
    void renewCounters();
    // While a cleaning runs: once the library holds no memory, its start
    // time and result go to the shared file in one write, and to the event
    // log. The loop asks every tenth of a second while one runs.
    void watchCleaning();

private:
    void runStartup();
    void refreshMemory();
    // Whether the file still names the system-start account as the holder.
    enum class Holding { Yes, No, Unknown };
    Holding checkHolder();
    // After a failed write: a harmless write, to learn whether the file
    // takes writes again.
    void recoverRenewals();
    void cleanAndRecord(cleaner::CleaningReason reason);
    void recordResult(const cleaner::CleaningResult& result, const std::string& libraryProblem);
    void writeLastRun(const std::string& text);
    bool watchedProgramRuns();
    events::Reporter reporter() const;
    void write(const char* section, const std::string& key, const std::string& value);

    platform::Platform& platform_;
    CorvidState& s_;
};

} // namespace tidemark::corvid
