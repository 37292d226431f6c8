// Stowel.exe: the administrator test, then frmSave until it is closed or
// an export or import has succeeded.
#include "platform/win32/Win32Platform.h"
#include "transfer/StowelPresenter.h"
#include "transfer/win32/StowelWindow.h"
#include "transfer/win32/Win32FileDialogs.h"

#include <commctrl.h>
#include <ole2.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The file dialogs browse the shell's namespace: COM for the whole run.
    const HRESULT ole = ::OleInitialize(nullptr);
    int exitCode = 0;
    try {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        tidemark::win32::Win32Platform backend;
        tidemark::platform::Platform& platform = backend.platform();
        if (tidemark::transfer::stowelMayStart(platform)) {
            tidemark::transfer::Win32StowelWindow window(instance);
            tidemark::transfer::Win32FileDialogs dialogs;
            tidemark::transfer::StowelPresenter presenter(platform, window, dialogs);
            window.attach(presenter);
            window.run();
        }
    } catch (...) {
        exitCode = 1;
    }
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return exitCode;
}
