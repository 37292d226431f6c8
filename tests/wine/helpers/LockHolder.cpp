// Another process for the lock tests: takes a named lock through the Win32
// backend, signals the named event, then either waits to be killed ("hold")
// or exits without releasing ("exit").
//   tm_win32_lock_holder <hold|exit> <lock name> <event name>
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <string>

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 4) return 2;
    const std::wstring mode = argv[1];
    const std::string lockName = tidemark::win32::fromWide(argv[2]);
    const HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (ready == nullptr) return 3;

    tidemark::win32::Win32Locks locks;
    auto hold = locks.acquire(lockName, 10000);
    if (!hold) return 4;
    ::SetEvent(ready);
    if (mode == L"hold") {
        ::Sleep(INFINITE);
    }
    // Leaves without running the hold's destructor: the mutex is abandoned.
    ::ExitProcess(0);
}
