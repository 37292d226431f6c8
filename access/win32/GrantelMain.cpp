// Grantel.exe: the entry point; the hidden window (frmGrantel) owns the
// shell call. Grantel shows nothing in any case.
#include "access/Grantel.h"
#include "companions/win32/WindowlessShell.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::companions::ComApartment com;
        tidemark::win32::Win32Platform backend;
        tidemark::companions::HiddenWindow window(instance, L"frmGrantel");
        tidemark::ProgramState state;
        state.lngMainWnd = window.native();
        tidemark::grantel::GrantelMain(backend.platform(), state);
        return 0;
    } catch (...) {
        return 1;
    }
}
