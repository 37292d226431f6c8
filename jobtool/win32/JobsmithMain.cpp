// Jobsmith.exe: the words of the wide command line (split by the runtime's
// rules), the Win32 services, and the exit code of the action.
#include "jobtool/core/Jobsmith.h"
#include "jobtool/win32/ComTaskScheduler.h"
#include "jobtool/win32/Win32JobConsole.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    try {
        std::vector<std::string> words;
        for (int i = 0; i < argc; ++i) words.push_back(tidemark::win32::fromWideBuffer(argv[i]));
        tidemark::win32::Win32Clock clock;
        tidemark::win32::Win32MessageBoxes messages;
        tidemark::jobtool::win32::Win32JobConsole console;
        tidemark::jobtool::win32::ComTaskSchedulerFactory schedulers;
        tidemark::jobtool::JobsmithServices services{schedulers, console, clock, messages};
        return static_cast<int>(tidemark::jobtool::runJobsmith(words, services));
    } catch (...) {
        return static_cast<int>(tidemark::jobtool::hr::Fail);
    }
}
