// Logon user name, system folders and the monitor's work area.
#pragma once
#include <string>
#include "platform/Platform.h"
#include "shared/ProgramState.h"

namespace tidemark {

class GetsProc {
public:
    GetsProc(platform::Platform& platform, const ProgramState& state) : platform_(platform), state_(state) {}

    // The account name; lngResult non-zero on success.
    std::string GetLogonUserName(long& lngResult);
    // The folder of a CSIDL; empty and false on failure.
    bool GetSysFolder(int lngCSIDLValue, std::string& strPutFolderPath);
    // Right edge and top of the work area of the monitor nearest the main
    // window; 0, 0 and false when unavailable.
    bool GetMonitorSizeTopRight(long& lngMonitorWorkRight, long& lngMonitorWorkTop);

private:
    platform::Platform& platform_;
    const ProgramState& state_;
};

// The same folder query with the caller's window as owner.
class GetFldNm {
public:
    explicit GetFldNm(platform::Platform& platform) : platform_(platform) {}
    bool GetSysFolderPath(platform::NativeWindow lng_hWnd, int lngCSIDLValue, std::string& strFolderPath);

private:
    platform::Platform& platform_;
};

} // namespace tidemark
