#include "shared/settings/DisplayChoices.h"

#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark {

void readAllUsersIconChoice(platform::Platform& platform, ProgramState& state) {
    state.display.allUsersIcon =
        SettingsFiles(platform, state).read(ini::section::IconSetting, ini::key::AllUsers) == ini::word::True;
}

void readUserIconChoice(platform::Platform& platform, ProgramState& state) {
    if (state.user.sid.empty()) {
        state.display.userIcon = false;
        return;
    }
    state.display.userIcon =
        SettingsFiles(platform, state).readUser(ini::section::IconSetting, state.user.sid) == ini::word::True;
}

void readWindowStyle(platform::Platform& platform, ProgramState& state) {
    const std::string style = SettingsFiles(platform, state).readUser(ini::section::AppSetting, ini::key::FormStyle);
    state.settings.userFileUsable = !style.empty();
    state.display.windowStyle = style == "1" ? 1 : 0;
}

} // namespace tidemark
