// Corvid.exe: the entry point. The hidden window is the owner of the shell
// calls and receives the session's end, which leaves the loop.
#include "companions/corvid/Corvid.h"
#include "companions/win32/WindowlessShell.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::companions::ComApartment com;
        tidemark::win32::Win32Platform backend;
        tidemark::companions::DesktopOnlyMessages messages(backend.platform().messages);
        tidemark::platform::Platform platform = tidemark::companions::withMessages(backend.platform(), messages);
        tidemark::companions::HiddenWindow window(instance, L"frmCorvid");
        tidemark::corvid::CorvidState state;
        state.lngMainWnd = window.native();
        tidemark::corvid::Corvid corvid(platform, state);
        if (corvid.start() == tidemark::corvid::StartOutcome::Running) {
            corvid.runLoop([&] { return window.pumpMessages(); });
            corvid.exit();
        }
        return 0;
    } catch (...) {
        return 1;
    }
}
