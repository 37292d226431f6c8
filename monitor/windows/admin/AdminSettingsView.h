// What the administrator settings window (FrmAdmFx) offers its presenter:
// a tab control with two pages, check boxes, option buttons, buttons and
// the explanation label. Setting a state from here raises no event.
#pragma once
#include <string>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class AdminControl {
    systemStartBox,        // page 0
    systemStartNote,
    fastOption,            // page 1
    slowOption,
    slowSettingsButton,
    watchBox,
    watchSettingsButton,
};

class AdminSettingsView {
public:
    virtual ~AdminSettingsView() = default;

    virtual void create() = 0;    // hidden, page 0 in front
    virtual void destroy() = 0;
    virtual void show() = 0;      // modeless, in front
    virtual void bringToFront() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setChecked(AdminControl control, bool checked) = 0;
    virtual void enable(AdminControl control, bool enabled) = 0;
    virtual void setText(AdminControl control, const std::string& text) = 0;
    virtual void selectPage(int page) = 0;

    // Polls a started program without blocking the window.
    virtual void startTimer(unsigned intervalMs) = 0;
    virtual void stopTimer() = 0;
};

} // namespace tidemark::monitor
