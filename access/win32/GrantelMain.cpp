// Grantel.exe: the entry point; the hidden window (frmGrantel) owns the
// shell call. Grantel shows nothing in any case.
#include "access/Grantel.h"
#include "companions/win32/WindowlessShell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::companions::WindowlessProcess process(instance, L"frmGrantel");
        tidemark::ProgramState state;
        state.lngMainWnd = process.window.native();
        tidemark::grantel::GrantelMain(process.platform, state);
        return 0;
    } catch (...) {
        return 1;
    }
}
