#include "monitor/windows/about/AboutPresenter.h"

#include "monitor/windows/about/AboutWindow.h"
#include "monitor/windows/WindowPlacement.h"

namespace tidemark::monitor {

AboutPresenter::AboutPresenter(MonitorContext& context, AboutView& view) : context_(context), view_(view) {}

void AboutPresenter::showModal() {
    context_.state.windows.aboutClosed = false;
    view_.runModal();
    context_.state.windows.aboutClosed = true;
}

void AboutPresenter::focusOk() {
    if (isOpen()) view_.focus(AboutControl::OkButton);
}

void AboutPresenter::load() {
    const MonitorState& s = context_.state;
    view_.setCaption(about::caption(s.programTitle));
    const ProgramVersion v = view_.programVersion();
    view_.setText(AboutControl::Version, about::versionText(v.major, v.minor, v.revision));
    view_.setText(AboutControl::Title, s.programTitle);
    if (!s.windows.systemInfoAvailable) view_.enable(AboutControl::SystemInfoButton, false);
    // Centred on its owner when that is visible, else on the work area of
    // the monitor that holds the tray.
    const auto work = context_.platform.display.nearestMonitorWorkArea(s.windows.tray);
    const auto owner = view_.visibleOwnerRect();
    if (!owner && !work) return;
    const PixelPoint at = centredPosition(owner ? *owner : *work, view_.width(), view_.height(), work);
    view_.moveTo(at.left, at.top);
}

void AboutPresenter::onSystemInfoClicked() {
    if (about::startSystemInformation(context_, view_.handle())) return;
    // The focus leaves the button before it is disabled, so that Enter and
    // Esc keep working.
    view_.focus(AboutControl::OkButton);
    view_.enable(AboutControl::SystemInfoButton, false);
}

} // namespace tidemark::monitor
