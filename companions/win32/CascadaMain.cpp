// Cascada.exe: the entry point; the hidden window (frmCascada) owns the
// shell calls and ends the waits when the session ends.
#include "companions/cascada/Cascada.h"
#include "companions/win32/WindowlessShell.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::companions::ComApartment com;
        tidemark::win32::Win32Platform backend;
        tidemark::companions::DesktopOnlyMessages messages(backend.platform().messages);
        tidemark::platform::Platform platform = tidemark::companions::withMessages(backend.platform(), messages);
        tidemark::companions::HiddenWindow window(instance, L"frmCascada");
        tidemark::ProgramState state;
        state.lngMainWnd = window.native();
        tidemark::cascada::CascadaMain(platform, state, [&] { return window.pumpMessages(); });
        return 0;
    } catch (...) {
        return 1;
    }
}
