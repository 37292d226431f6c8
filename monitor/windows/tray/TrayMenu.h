// The tray icon's menu: its items in order, as they stand now.
#pragma once
#include <string>
#include <vector>

namespace tidemark::monitor {

enum class TrayCommand { Cancel, Close, Hide, Show, CleanNow, Fix, AdmFix, Ver };

struct TrayMenuItem {
    bool separator = false;
    TrayCommand command = TrayCommand::Cancel;
    std::string text;
    bool enabled = true;
};

// Both the hide and the show item are there until the first toggle; from
// then on only the one that applies. The administrator item is greyed for
// users who are not administrators.
std::vector<TrayMenuItem> trayMenuItems(bool hideVisible, bool showVisible, bool adminEnabled);

} // namespace tidemark::monitor
