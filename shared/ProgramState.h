// The state every program of the suite keeps for its whole run: where the
// settings files are, whether they can be written, who runs the program,
// which user profiles the machine has and where the memory-cleaner right
// stands. The main program adds its own state on top of this; the
// companions use these fields for the same purposes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/Display.h"

namespace tidemark {

struct SettingsLocation {
    std::string sharedPath;          // the shared settings file beside the programs
    std::string appDataPath;         // the user's application-data folder
    bool appDataKnown = false;
    bool sharedWritable = true;      // the last write to the shared file succeeded
    bool userFileUsable = true;      // the per-user file is usable
};

struct UserIdentity {
    std::string sid;                 // this copy's account (its token's SID)
    std::string session;             // this copy's logon session, in decimal; empty when unknown
    std::string profileName;         // the account's profile folder name
    std::string logonName;
};

// Every profile of the machine, in the profile list's order.
struct MachineProfiles {
    std::vector<std::string> sids;
    long count = 0;
    std::vector<bool> loaded;        // same indices as sids
};

struct CleanerRightState {
    bool held = true;                // this copy holds the memory-cleaner right
    bool challenging = false;        // counting the holder's own counter down
    std::int32_t lastChallenge = 0;  // the counter this copy last wrote
    std::string challengedHolder;    // "MemCleanRightUser" when the challenge armed
    std::string challengedSession;   // "MemCleanRightSession" then
};

struct DisplayChoices {
    bool allUsersIcon = false;       // the icon always active, for every user
    bool userIcon = false;           // the same, for this user
    int windowStyle = 0;             // 0 numeric window, 1 graph window
};

struct ProgramState {
    std::string programTitle = "Tidemark";     // title of the program's message boxes

    SettingsLocation settings;
    UserIdentity user;
    MachineProfiles profiles;
    CleanerRightState right;
    DisplayChoices display;

    platform::NativeWindow mainWindow = 0;     // owner of dialogs and the tray icon
};

} // namespace tidemark
