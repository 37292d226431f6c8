// What a status window (frmSimple or frmGraph) offers its presenter. The
// Win32 view creates the controls at the window's own DPI, forwards events
// and draws; every decision is the presenter's.
#pragma once
#include <string>
#include <vector>

#include "monitor/core/MonitorUi.h"
#include "monitor/windows/status/GraphModel.h"
#include "platform/Display.h"

namespace tidemark::monitor {

// Timer1 and Timer2 are the windows' own; CleaningWatch runs on the
// numeric window while a cleaning of this copy does.
enum class StatusTimer { Timer1, Timer2, CleaningWatch };

class StatusView {
public:
    virtual ~StatusView() = default;

    virtual void create() = 0;    // hidden
    virtual void destroy() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setText(StatusControl control, const std::string& text) = 0;
    virtual void setTooltip(StatusControl control, const std::string& text) = 0;

    virtual bool isVisible() = 0;
    virtual void show() = 0;      // shown in front of the others, with the focus
    virtual void hide() = 0;
    virtual int dpi() = 0;        // the window's own DPI
    virtual int width() = 0;      // the window's outer width in pixels
    virtual void moveTo(int leftPixels, int topPixels) = 0;

    virtual void startTimer(StatusTimer timer, unsigned intervalMs) = 0;
    virtual void stopTimer(StatusTimer timer) = 0;

    // The graph box's size and a frame for it, in device pixels, its palette
    // indexes drawn in the colours given (the graph window only).
    virtual PixelSize graphBoxSize() = 0;
    virtual void drawGraph(const std::vector<GraphRect>& frame, const GraphColours& colours) = 0;
};

} // namespace tidemark::monitor
