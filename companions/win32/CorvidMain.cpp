// Corvid.exe: the entry point. The hidden window is the owner of the shell
// calls and receives the session's end, which leaves the loop.
#include "companions/corvid/Corvid.h"
#include "shared/system/win32/WindowlessShell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::windowless::WindowlessProcess process(instance, L"frmCorvid");
        tidemark::corvid::CorvidState state;
        state.mainWindow = process.window.native();
        tidemark::corvid::Corvid corvid(process.platform, state);
        if (corvid.start() == tidemark::corvid::StartOutcome::Running) {
            corvid.runLoop([&] { return process.window.pumpMessages(); });
            corvid.exit();
        }
        return 0;
    } catch (...) {
        return 1;
    }
}
