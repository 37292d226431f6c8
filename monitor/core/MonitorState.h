// The main program's state for its whole run, shared by its windows and
// modules: the suite-wide part plus the monitor's window flags, memory
// figures, cleaner values and the watch on the system-start account.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "shared/ProgramState.h"
#include "shared/cleaner/CleaningCycle.h"

namespace tidemark::monitor {

struct WindowFlags {
    platform::NativeWindow tray = 0;       // the window the tray icon reports to
    bool trayIconShown = false;
    bool settingsOpen = false;             // the settings window
    bool adminOpen = false;                // the administrator window
    bool adminBusy = false;                // a child of the administrator window is open
    bool aboutClosed = true;
    bool passwordClosed = true;            // the system-start password window
    bool systemInfoAvailable = true;       // the About window's system-information button
};

struct MemoryFigures {
    std::int16_t loadPercent = 0;
    std::uint64_t totalBytes = 0, availBytes = 0;
    std::uint64_t totalKB = 0, availKB = 0;
};

struct CleanerValues {
    std::int64_t triggerBytes = 0;         // available memory at which the cleaner runs
    std::int16_t sizeMB = 0;               // claimed per cleaning
    std::int32_t mode = 0;                 // 0 First, 1 Slow
    std::int32_t slowPauseMs = 5000;
    std::int32_t slowStepBytes = 5242880;
    std::int64_t physMemSize = 0;
    bool known = false;                    // the values above were read or entered
    bool readBusy = false;                 // the values are being read
    bool physMemWarned = false;            // the changed-memory box was shown to a non-administrator
};

struct SystemStartWatch {
    std::int32_t staleCount = 0;           // minutes the system-start stamp has been behind
    bool warned = false;
};

// This copy's cleanings while it holds the right, and the machine's last
// cleaning as this copy shows it.
struct CleaningRecord {
    cleaner::CleaningCycle cycle;
    std::string startedText;                            // the running cleaning's date and time
    std::optional<cleaner::CleaningResult> last;        // this copy's last result
    std::string trayLine;                               // the tray tip's line on the last cleaning
    bool rightReported = false;                         // the holding last written to the event log
};

struct MonitorState : ProgramState {
    bool xpOrLater = false;
    bool isAdministrator = false;          // the membership found at start-up
    WindowFlags windows;
    MemoryFigures memory;
    CleanerValues cleaner;
    SystemStartWatch systemStart;
    std::string lastRunText;               // "ShExTime" as this copy last wrote it
    CleaningRecord cleaning;

    // The watched program names ([ExitTrigProcList] keys).
    std::vector<std::string> watchNames;

    // The allocation library's problem has been reported to the user.
    bool ramholdProblemShown = false;

    // The program is shutting down (the right given up): a tick that comes
    // back from a message box or a modal window writes and claims nothing.
    bool ending = false;
};

} // namespace tidemark::monitor
