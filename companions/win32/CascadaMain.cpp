// Cascada.exe: the entry point; the hidden window (frmCascada) owns the
// shell calls and ends the waits when the session ends.
#include "companions/cascada/Cascada.h"
#include "shared/system/win32/WindowlessShell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::windowless::WindowlessProcess process(instance, L"frmCascada");
        tidemark::ProgramState state;
        state.mainWindow = process.window.native();
        tidemark::cascada::runCascada(process.platform, state, [&] { return process.window.pumpMessages(); });
        return 0;
    } catch (...) {
        return 1;
    }
}
