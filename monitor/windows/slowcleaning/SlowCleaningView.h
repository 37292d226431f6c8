// What the slow cleaning window (frmClStp) offers its presenter. The Win32
// view creates the controls at the window's own DPI and forwards events;
// every decision is the presenter's.
#pragma once
#include <string>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class SlowCleaningControl {
    settingsFrame,   // the pause and step settings
    pauseBox,
    pauseLabel,
    stepBox,
    stepLabel,
    defaultsButton,
    applyButton,
    statusFrame,     // the running cleaning
    statusLabel,
    stopButton,
};

class SlowCleaningView {
public:
    virtual ~SlowCleaningView() = default;
    // Shows the window modally; returns when it is closed. The presenter's
    // load() runs once the window exists.
    virtual void runModal() = 0;
    virtual void close() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setText(SlowCleaningControl control, const std::string& text) = 0;
    virtual std::string text(SlowCleaningControl control) = 0;
    virtual void setTooltip(SlowCleaningControl control, const std::string& text) = 0;
    virtual void enable(SlowCleaningControl control, bool enabled) = 0;

    virtual void startTimer(unsigned intervalMs) = 0;
    virtual void stopTimer() = 0;
    virtual void beep() = 0;
};

} // namespace tidemark::monitor
