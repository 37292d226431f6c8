#include "shared/system/SettingsFileAccess.h"

#include "shared/system/CommandLine.h"
#include "shared/system/SystemTools.h"

namespace tidemark {
namespace {
constexpr std::intptr_t kShellFileNotFound = 2;
constexpr std::intptr_t kShellPathNotFound = 3;
} // namespace

std::intptr_t SettingsFileAccess::runCacls(const std::string& path, const std::string& switches) {
    const std::string cacls = systemToolPath(platform_, kCaclsProgram);
    if (cacls.empty()) return kShellPathNotFound;
    const std::string parameters = quoteArgument(path) + " " + switches;
    // A settings write that replaces the file copies its access list: one
    // made while CACLS still runs would put the old list back.
    return platform_.launcher.shellExecuteAndWait(state_.mainWindow, "open", quoteArgument(cacls), parameters, "",
                                                  platform::showcmd::Minimized, kCaclsWaitMs);
}

void SettingsFileAccess::openToEveryone() {
    const std::intptr_t r = runCacls(state_.settings.sharedPath, kEveryoneFullControlSwitches);
    if (r == kShellFileNotFound || r == kShellPathNotFound) {
        platform_.access.grantEveryoneFullControl(state_.settings.sharedPath);
    }
}

} // namespace tidemark
