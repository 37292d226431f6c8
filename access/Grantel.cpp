#include "access/Grantel.h"

#include "shared/IniOpe.h"
#include "shared/system/AclChng.h"
#include "shared/system/StaleTemporaryFiles.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::grantel {

Outcome GrantelMain(platform::Platform& platform, ProgramState& state) {
    if (windowless::commandWord(platform) != kRunWord) return Outcome::Ended;
    state.strIniFilePath = sharedSettingsPath(platform.process);
    deleteStaleTemporaryFiles(platform);
    const windowless::LogonName logon = windowless::findLogonName(platform, state);
    if (!logon.found) return Outcome::Ended;
    state.strLogonUserName = logon.name;
    // The file beside the program, by its exact path: a search of the tree
    // below the folder could find another folder's file.
    if (!platform.files.fileExists(state.strIniFilePath)) return Outcome::Ended;
    if (!windowless::isAdministratorAccount(platform, logon)) return Outcome::Ended;
    ACL_Chng(platform, state).ChngTidemarkACLS();
    return Outcome::AccessOpened;
}

} // namespace tidemark::grantel
