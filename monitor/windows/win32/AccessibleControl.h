// A name, value, role and description for assistive technology where the
// system's proxy has none to give: a picture shows no text, so a screen
// reader would meet it nameless, and a tooltip only shows under the mouse.
// The control answers WM_GETOBJECT with the system's own object for it, in
// which only what is given here is its own.
#pragma once
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tidemark::monitor {

// Gives the control its name and role (a ROLE_SYSTEM_ value) for as long as
// it lives; the value starts empty.
void describeControl(HWND control, const std::string& name, long role);
// The value a screen reader reads after the name: what the control shows now.
void setControlValue(HWND control, const std::string& value);
// The description a screen reader reads on request: the control's tooltip,
// so that nothing the tooltip says is out of reach of the keyboard.
void setControlDescription(HWND control, const std::string& description);

} // namespace tidemark::monitor
