// Tidemark.exe: the entry point builds the program and runs it.
#include "monitor/windows/win32/TidemarkApp.h"

#include <commctrl.h>
#include <ole2.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // OLE rather than bare COM: the shell's shortcut objects need COM, and
    // files dropped from another process arrive only through an OLE drop
    // target.
    const HRESULT ole = ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    int code = 0;
    try {
        tidemark::monitor::TidemarkApp app(instance);
        code = app.run();
    } catch (...) {
        code = 1;
    }
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return code;
}
