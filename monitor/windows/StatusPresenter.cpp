#include "monitor/windows/StatusPresenter.h"

#include "monitor/core/NumberText.h"
#include "monitor/windows/WindowPlacement.h"
#include "shared/accounts/GetsProc.h"

namespace tidemark::monitor {

StatusPresenter::StatusPresenter(StatusWindow which, platform::Platform& platform, MonitorState& state,
                                 StatusView& view, StatusEvents& events)
    : which_(which), platform_(platform), state_(state), view_(view), events_(events) {}

void StatusPresenter::Form_Load() {
    texts_.clear();
    tooltips_.clear();
    view_.create();
    setTooltip(StatusControl::cmdFix, "Tidemarkの設定を行います");
    setTooltip(StatusControl::cmdHide, "このフォームを隠します");
    if (which_ == StatusWindow::Graph) {
        setTooltip(StatusControl::lblUseMem, "現在使用中のメモリーサイズを表示しています");
        lastFrame_ = graph_.DrawGraph(palette::Black);
    }
}

void StatusPresenter::Form_Unload() {
    stopTimers();
    view_.destroy();
}

void StatusPresenter::startTimers() {
    if (which_ == StatusWindow::Simple) {
        view_.startTimer(StatusTimer::Timer1, 60000);
        view_.startTimer(StatusTimer::Timer2, 1000);
    } else {
        view_.startTimer(StatusTimer::Timer1, 1000);
    }
}

void StatusPresenter::stopTimers() {
    view_.stopTimer(StatusTimer::Timer1);
    if (which_ == StatusWindow::Simple) view_.stopTimer(StatusTimer::Timer2);
}

void StatusPresenter::setText(StatusControl control, const std::string& text) {
    const auto it = texts_.find(control);
    if (it != texts_.end() && it->second == text) return;
    texts_[control] = text;
    view_.setText(control, text);
}

void StatusPresenter::setTooltip(StatusControl control, const std::string& text) {
    const auto it = tooltips_.find(control);
    if (it != tooltips_.end() && it->second == text) return;
    tooltips_[control] = text;
    view_.setTooltip(control, text);
}

bool StatusPresenter::isVisible() { return view_.isVisible(); }

void StatusPresenter::hide() { view_.hide(); }

void StatusPresenter::show() {
    view_.show();
    drawLastFrame();
}

void StatusPresenter::placeAtTopRight() {
    long right = 0, top = 0;
    std::optional<platform::Rect> area;
    if (GetsProc(platform_, state_).GetMonitorSizeTopRight(right, top))
        area = platform::Rect{0, static_cast<std::int32_t>(top), static_cast<std::int32_t>(right), 0};
    const PixelPoint at = statusWindowPosition(area, view_.width());
    view_.moveTo(at.left, at.top);
}

void StatusPresenter::Form_DpiChanged() { drawLastFrame(); }

void StatusPresenter::GraphTimer1() {
    const MonitorState& s = state_;
    const std::int32_t free = freePerMille(s.curAvailPhys, s.curTotalPhys);
    const std::uint64_t used = s.curTotalPhys >= s.curAvailPhys ? s.curTotalPhys - s.curAvailPhys : 0;
    setText(StatusControl::lblUseMem, groupedDigitsOrEmpty(used / 1024) + " KB 使用");
    lastFrame_ = graph_.DrawGraph(graph_.PushGraphSample(free, s.curAvailPhysKB));
    // Drawn only while someone can see it; showing the window draws the
    // last frame.
    if (view_.isVisible()) drawLastFrame();
}

void StatusPresenter::drawLastFrame() {
    if (which_ == StatusWindow::Graph) view_.drawGraph(graphPixels(lastFrame_, view_.graphBoxSize()));
}

} // namespace tidemark::monitor
