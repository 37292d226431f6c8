#include "monitor/windows/status/StatusPresenter.h"

#include "shared/system/NumberText.h"
#include "monitor/windows/WindowPlacement.h"
#include "shared/system/SystemQueries.h"

namespace tidemark::monitor {

StatusPresenter::StatusPresenter(StatusWindow which, platform::Platform& platform, MonitorState& state,
                                 StatusView& view, StatusEvents& events)
    : which_(which), platform_(platform), state_(state), view_(view), events_(events) {}

void StatusPresenter::load() {
    texts_.clear();
    tooltips_.clear();
    view_.create();
    colours_ = graphColours(platform_.display.colourScheme());
    setTooltip(StatusControl::SettingsButton, "Tidemarkの設定を行います");
    setTooltip(StatusControl::HideButton, "このフォームを隠します");
    if (which_ == StatusWindow::Graph) {
        setTooltip(StatusControl::UsedMemory, "現在使用中のメモリーサイズを表示しています");
        lastFrame_ = graph_.drawFrame(palette::Black);
    }
}

void StatusPresenter::unload() {
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
    if (which_ == StatusWindow::Simple) {
        view_.stopTimer(StatusTimer::Timer2);
        watchCleaning(false);
    }
}

void StatusPresenter::watchCleaning(bool on) {
    if (on == watchingCleaning_) return;
    watchingCleaning_ = on;
    if (on) view_.startTimer(StatusTimer::CleaningWatch, kCleaningWatchMs);
    else view_.stopTimer(StatusTimer::CleaningWatch);
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
    std::optional<platform::Rect> area;
    if (const auto corner = workAreaTopRight(platform_, state_.mainWindow))
        area = platform::Rect{0, static_cast<std::int32_t>(corner->top), static_cast<std::int32_t>(corner->right), 0};
    const PixelPoint at = statusWindowPosition(area, view_.width());
    view_.moveTo(at.left, at.top);
}

void StatusPresenter::onDpiChanged() { drawLastFrame(); }

void StatusPresenter::onColoursChanged() {
    colours_ = graphColours(platform_.display.colourScheme());
    drawLastFrame();
}

void StatusPresenter::onGraphTimer() {
    const MonitorState& s = state_;
    const std::int32_t free = freePerMille(s.memory.availBytes, s.memory.totalBytes);
    const std::uint64_t used = s.memory.totalBytes >= s.memory.availBytes ? s.memory.totalBytes - s.memory.availBytes : 0;
    setText(StatusControl::UsedMemory, groupedDigitsOrEmpty(used / 1024) + " KB 使用");
    lastFrame_ = graph_.drawFrame(graph_.pushSample(free, s.memory.availKB));
    // Drawn only while someone can see it; showing the window draws the
    // last frame.
    if (view_.isVisible()) drawLastFrame();
}

void StatusPresenter::drawLastFrame() {
    if (which_ == StatusWindow::Graph) view_.drawGraph(graphPixels(lastFrame_, view_.graphBoxSize()), colours_);
}

} // namespace tidemark::monitor
