// The main program's state for its whole run, shared by its windows and
// modules: the suite-wide part plus the monitor's flags, memory figures,
// cleaner settings and right-challenge state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "shared/ProgramState.h"

namespace tidemark::monitor {

struct MonitorState : ProgramState {
    // Start-up and window flags.
    bool bolXpOrLater = false;
    bool isAdministrator = false;          // the membership found at start-up
    platform::NativeWindow lngTrayWnd = 0;
    bool bolTrayIconFlag = false;
    bool bolFrmFixOpen = false;
    bool bolFrmAdmFxOpen = false;
    bool bolAdmBusy = false;
    bool bolAboutClosed = true;
    bool bolPasInClosed = true;
    bool bolSysInfoFlag = true;
    bool bolMemSetBusy = false;

    // Memory figures.
    std::int16_t intMemoryLoad = 0;
    std::uint64_t curTotalPhys = 0, curAvailPhys = 0;
    std::uint64_t curTotalPhysKB = 0, curAvailPhysKB = 0;

    // Cleaner settings.
    std::int64_t decCleanTrigger = 0;
    std::int16_t intCleanSizeMB = 0;
    std::int32_t intMemCleanForm = 0;      // 0 First, 1 Slow
    std::int32_t lngSlowSleepTime = 5000;
    std::int32_t lngSlowStepSize = 5242880;
    std::int64_t decPhysMemSize = 0;
    bool bolMemSetKnown = false;           // the values above were read or entered

    // Right protocol and system-start watch.
    bool bolRightChallenge = false;
    std::int32_t lngLastChallenge = 0;
    std::string strChallengedHolder;       // "MemCleanRightUser" when the challenge armed
    std::string strShExTime;
    std::int32_t intSsaStaleCount = 0;
    bool bolSsaWarned = false;
    bool bolPhysMemWarned = false;

    // The watched program names ([ExitTrigProcList] keys).
    std::vector<std::string> watchNames;

    // The allocation library's problem has been reported to the user.
    bool bolRamholdProblemShown = false;
};

} // namespace tidemark::monitor
