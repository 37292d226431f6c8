// The state every program of the suite keeps for its whole run: where the
// settings files are, whether they can be written, who runs the program and
// which user profiles the machine has. The main program adds its own state
// on top of this; the companions use these fields for the same purposes.
#pragma once
#include <string>
#include <vector>
#include "platform/Display.h"

namespace tidemark {

struct ProgramState {
    std::string programTitle = "Tidemark";     // title of the program's message boxes

    std::string strIniFilePath;                // shared settings file
    std::string strAppDataPath;                // user's application-data folder
    bool bolAppDataFlag = false;

    bool bolIniWriteFlag = true;               // the last write to the shared file succeeded
    bool bolLocalIniFlag = true;               // the per-user file is usable
    bool bolMemCleanRight = true;              // this copy holds the memory-cleaner right

    std::string strCurrentUserSid;
    std::string strCurrentProfName;
    std::string strLogonUserName;

    std::vector<std::string> strUserSid;       // every profile's SID, profile-list order
    long lngUserSidCount = 0;
    std::vector<bool> bolProfileLoaded;        // same indices as strUserSid

    bool bolAllUsersIcon = false;
    bool bolUserIcon = false;
    int intFormStyle = 0;                      // 0 numeric window, 1 graph window

    platform::NativeWindow lngMainWnd = 0;     // owner of dialogs and the tray icon
};

} // namespace tidemark
