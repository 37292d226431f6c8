// Everything the portable code may ask of the operating system, in one bundle.
// Each program builds one at start (the Win32 backend, or a simulated process
// on the simulated machine under test) and passes it down.
#pragma once
#include "platform/AccessControl.h"
#include "platform/Accounts.h"
#include "platform/AllocationLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/EventLog.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "platform/LocaleFormat.h"
#include "platform/Locks.h"
#include "platform/MemoryStatus.h"
#include "platform/MessageBox.h"
#include "platform/OsVersion.h"
#include "platform/ProcessInfo.h"
#include "platform/ProcessSnapshot.h"
#include "platform/Registry.h"
#include "platform/Shortcuts.h"
#include "platform/SingleInstance.h"

namespace tidemark::platform {

struct Platform {
    Clock& clock;
    FileSystem& files;
    Locks& locks;
    CodePage& codePage;
    ProcessInfo& process;
    Accounts& accounts;
    Registry& registry;
    KnownFolders& folders;
    Display& display;
    OsVersion& os;
    Launcher& launcher;
    AccessControl& access;
    MessageBoxes& messages;
    LocaleFormat& locale;
    MemoryStatus& memory;
    ProcessSnapshot& processes;
    Shortcuts& shortcuts;
    SingleInstance& instances;
    AllocationLibrary& ramhold;
    EventLog& events;
};

} // namespace tidemark::platform
