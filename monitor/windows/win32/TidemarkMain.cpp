// Tidemark.exe: the entry point.
#include "monitor/windows/win32/TidemarkApp.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    int code = 0;
    try {
        tidemark::monitor::TidemarkApp app(instance);
        code = app.run();
    } catch (...) {
        code = 1;
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return code;
}
