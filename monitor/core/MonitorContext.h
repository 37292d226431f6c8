// What every module of the main program works with.
#pragma once
#include <string>
#include "monitor/core/MonitorState.h"
#include "monitor/core/MonitorUi.h"
#include "platform/Platform.h"

namespace tidemark::monitor {

struct MonitorContext {
    platform::Platform& platform;
    MonitorState& state;
    MonitorUi& ui;

    // A message box owned by the main window, titled with the program's name.
    platform::MessageAnswer message(const std::string& text, platform::MessageIcon icon,
                                    platform::MessageButtons buttons = platform::MessageButtons::Ok) {
        platform::MessageRequest m;
        m.owner = state.mainWindow;
        m.text = text;
        m.title = state.programTitle;
        m.icon = icon;
        m.buttons = buttons;
        return platform.messages.show(m);
    }
    // The current date, one blank and the current time, in the user's formats.
    std::string nowText() {
        const platform::LocalTime t = platform.clock.localTime();
        return platform.locale.shortDate(t) + " " + platform.locale.longTime(t);
    }
};

} // namespace tidemark::monitor
