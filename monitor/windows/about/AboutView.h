// What the About window (frmAbout) offers its presenter.
#pragma once
#include <optional>
#include <string>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class AboutControl { Title, Version, OkButton, SystemInfoButton };

struct ProgramVersion {
    int major = 0, minor = 0, revision = 0;
};

class AboutView {
public:
    virtual ~AboutView() = default;
    // Shows the window modally; returns when it is closed. The presenter's
    // load runs once the window exists.
    virtual void runModal() = 0;
    virtual void close() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setText(AboutControl control, const std::string& text) = 0;
    virtual void enable(AboutControl control, bool enabled) = 0;
    // Brings the window in front and gives the control the focus.
    virtual void focus(AboutControl control) = 0;

    virtual int width() = 0;    // the window's outer size in pixels
    virtual int height() = 0;
    virtual void moveTo(int leftPixels, int topPixels) = 0;
    // The owner's rectangle when the owner is visible.
    virtual std::optional<platform::Rect> visibleOwnerRect() = 0;

    // From the program's version resource.
    virtual ProgramVersion programVersion() = 0;
};

} // namespace tidemark::monitor
