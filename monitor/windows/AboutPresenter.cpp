#include "monitor/windows/AboutPresenter.h"

#include "monitor/windows/AboutWindow.h"
#include "monitor/windows/WindowPlacement.h"

namespace tidemark::monitor {

AboutPresenter::AboutPresenter(MonitorContext& context, AboutView& view) : context_(context), view_(view) {}

void AboutPresenter::showModal() {
    context_.state.bolAboutClosed = false;
    view_.runModal();
    context_.state.bolAboutClosed = true;
}

void AboutPresenter::focusOk() {
    if (isOpen()) view_.focus(AboutControl::cmdOK);
}

void AboutPresenter::Form_Load() {
    const MonitorState& s = context_.state;
    view_.setCaption(AboutWindow::caption(s.programTitle));
    const ProgramVersion v = view_.programVersion();
    view_.setText(AboutControl::lblVersion, AboutWindow::versionText(v.major, v.minor, v.revision));
    view_.setText(AboutControl::lblTitle, s.programTitle);
    if (!s.bolSysInfoFlag) view_.enable(AboutControl::cmdSysInfo, false);
    // Centred on its owner when that is visible, else on the work area of
    // the monitor that holds the tray.
    const auto work = context_.platform.display.nearestMonitorWorkArea(s.lngTrayWnd);
    const auto owner = view_.visibleOwnerRect();
    if (!owner && !work) return;
    const PixelPoint at = centredPosition(owner ? *owner : *work, view_.width(), view_.height(), work);
    view_.moveTo(at.left, at.top);
}

void AboutPresenter::cmdSysInfo_Click() {
    if (AboutWindow::StartSysInfo(context_, view_.handle())) return;
    // The focus leaves the button before it is disabled, so that Enter and
    // Esc keep working.
    view_.focus(AboutControl::cmdOK);
    view_.enable(AboutControl::cmdSysInfo, false);
}

} // namespace tidemark::monitor
