// Grantel.exe: the entry point; the hidden window (frmGrantel) owns the
// shell call. Grantel shows nothing in any case.
#include "access/Grantel.h"
#include "shared/system/win32/WindowlessShell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::windowless::WindowlessProcess process(instance, L"frmGrantel");
        tidemark::ProgramState state;
        state.mainWindow = process.window.native();
        tidemark::grantel::runGrantel(process.platform, state);
        return 0;
    } catch (...) {
        return 1;
    }
}
