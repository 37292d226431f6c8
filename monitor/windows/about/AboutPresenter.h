// The About window, frmAbout: opened modally from the tray menu; its texts,
// its place, its two buttons.
#pragma once
#include "monitor/core/MonitorContext.h"
#include "monitor/windows/about/AboutView.h"

namespace tidemark::monitor {

class AboutPresenter {
public:
    AboutPresenter(MonitorContext& context, AboutView& view);

    // mnuUnderFileVer: windows.aboutClosed is false while the window is shown.
    void showModal();
    bool isOpen() const { return !context_.state.windows.aboutClosed; }
    // What the tray does while the window is open: its OK button in front.
    void focusOk();

    void load();
    void onOkClicked() { view_.close(); }
    void onSystemInfoClicked();

private:
    MonitorContext& context_;
    AboutView& view_;
};

} // namespace tidemark::monitor
