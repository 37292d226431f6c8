// The Win32 backend of every platform interface, bundled for a program.
#pragma once
#include "platform/Platform.h"
#include "platform/win32/Win32AccessControl.h"
#include "platform/win32/Win32Accounts.h"
#include "platform/win32/Win32AllocationLibrary.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32KnownFolders.h"
#include "platform/win32/Win32Launcher.h"
#include "platform/win32/Win32LocaleFormat.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32MemoryStatus.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32OsVersion.h"
#include "platform/win32/Win32ProcessInfo.h"
#include "platform/win32/Win32ProcessSnapshot.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shortcuts.h"
#include "platform/win32/Win32SingleInstance.h"

namespace tidemark::win32 {

// One per program, built at start; the bundle it hands out refers to its
// members, so it must outlive every user of platform().
class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& platform() { return platform_; }

private:
    Win32Clock clock_;
    Win32FileSystem files_;
    Win32Locks locks_;
    Win32CodePage codePage_;
    Win32ProcessInfo process_;
    Win32Accounts accounts_;
    Win32Registry registry_;
    Win32KnownFolders folders_;
    Win32Display display_;
    Win32OsVersion os_;
    Win32Launcher launcher_;
    Win32AccessControl access_;
    Win32MessageBoxes messages_;
    Win32LocaleFormat locale_;
    Win32MemoryStatus memory_;
    Win32ProcessSnapshot processes_;
    Win32Shortcuts shortcuts_;
    Win32SingleInstance instances_;
    Win32AllocationLibrary ramhold_;
    Win32EventLog events_;
    platform::Platform platform_;
};

} // namespace tidemark::win32
