// What the settings window offers its presenter. The Win32 view creates the
// standard controls (a tab control, edit boxes, check boxes, option buttons,
// frames and labels) at the window's own DPI and forwards their events;
// every decision is the presenter's.
#pragma once
#include <string>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class SettingsTab { Cleaner, Startup, Icon, Screen };

enum class SettingsControl {
    CleanerFrame,
    TriggerBox,
    SizeBox,
    AutoButton,
    DecideButton,
    StartupFrame,
    AllUsersStartup,
    UserStartup,
    IconFrame,
    AllUsersIcon,
    UserIcon,
    ScreenFrame,
    GraphOption,
    NumbersOption,
};

class SettingsView {
public:
    virtual ~SettingsView() = default;

    // Creates the window hidden, with its controls; the presenter fills it
    // before it is shown.
    virtual void create() = 0;
    // Shows it without blocking.
    virtual void show() = 0;
    // Shows it and returns once it is closed; the program's other windows
    // take no input meanwhile.
    virtual void runModal() = 0;
    virtual void destroy() = 0;
    virtual void bringToFront() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setText(SettingsControl control, const std::string& text) = 0;
    virtual std::string text(SettingsControl control) = 0;
    virtual void setTooltip(SettingsControl control, const std::string& text) = 0;
    virtual void enable(SettingsControl control, bool enabled) = 0;
    // Ticks a check box or selects an option button; no change event comes
    // back from it.
    virtual void setChecked(SettingsControl control, bool checked) = 0;
    virtual void selectTab(SettingsTab tab) = 0;
    virtual void focus(SettingsControl control) = 0;
    // An edit box's whole text selected.
    virtual void selectAll(SettingsControl control) = 0;
    virtual void beep() = 0;

    virtual int dpi() = 0;
    virtual int width() = 0;   // the window's outer width in pixels
    virtual void moveTo(int leftPixels, int topPixels) = 0;
};

} // namespace tidemark::monitor
