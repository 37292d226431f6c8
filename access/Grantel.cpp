#include "access/Grantel.h"

#include "shared/settings/SettingsFiles.h"
#include "shared/system/SettingsFileAccess.h"
#include "shared/system/StaleTemporaryFiles.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::grantel {

Outcome runGrantel(platform::Platform& platform, ProgramState& state) {
    if (windowless::commandWord(platform) != kRunWord) return Outcome::Ended;
    state.settings.sharedPath = sharedSettingsPath(platform.process);
    deleteStaleTemporaryFiles(platform);
    const windowless::LogonName logon = windowless::findLogonName(platform);
    if (!logon.found) return Outcome::Ended;
    state.user.logonName = logon.name;
    // The file beside the program, by its exact path: a search of the tree
    // below the folder could find another folder's file.
    if (!platform.files.fileExists(state.settings.sharedPath)) return Outcome::Ended;
    if (!windowless::isAdministratorAccount(platform, logon)) return Outcome::Ended;
    SettingsFileAccess(platform, state).openToEveryone();
    return Outcome::AccessOpened;
}

} // namespace tidemark::grantel
