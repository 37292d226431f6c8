// Views of the monitor's windows that only record what their presenters
// tell them, in one shared log so that tests can check the order of calls.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "monitor/windows/MonitorWindows.h"
#include "monitor/windows/WindowPlacement.h"

namespace tidemark::testing {

using Log = std::vector<std::string>;

class RecordingStatusView final : public monitor::StatusView {
public:
    RecordingStatusView(Log& log, std::string name, platform::NativeWindow handle)
        : log_(log), name_(std::move(name)), handle_(handle) {}
    bool created = false, visible = false;
    int dpiValue = 96;
    std::optional<monitor::PixelPoint> position;
    std::map<monitor::StatusControl, std::string> texts, tooltips;
    std::map<monitor::StatusTimer, unsigned> timers;
    std::vector<monitor::GraphRect> frame;
    monitor::GraphColours colours{};   // those of the last frame
    int textSends = 0, frames = 0;

    void create() override { created = true; }
    void destroy() override { created = visible = false; }
    platform::NativeWindow handle() const override { return handle_; }
    void setText(monitor::StatusControl c, const std::string& t) override {
        texts[c] = t;
        ++textSends;
    }
    void setTooltip(monitor::StatusControl c, const std::string& t) override { tooltips[c] = t; }
    bool isVisible() override { return visible; }
    void show() override {
        visible = true;
        log_.push_back(name_ + " shown");
    }
    void hide() override {
        visible = false;
        log_.push_back(name_ + " hidden");
    }
    int dpi() override { return dpiValue; }
    // 4905 twips of client area and a frame of 3 pixels each side.
    int width() override { return monitor::twipsToPixels(4905, dpiValue) + 6; }
    void moveTo(int left, int top) override { position = monitor::PixelPoint{left, top}; }
    void startTimer(monitor::StatusTimer t, unsigned ms) override { timers[t] = ms; }
    void stopTimer(monitor::StatusTimer t) override { timers.erase(t); }
    monitor::PixelSize graphBoxSize() override {
        return {monitor::twipsToPixels(3500, dpiValue), monitor::twipsToPixels(1000, dpiValue)};
    }
    void drawGraph(const std::vector<monitor::GraphRect>& f, const monitor::GraphColours& c) override {
        frame = f;
        colours = c;
        ++frames;
    }

private:
    Log& log_;
    std::string name_;
    platform::NativeWindow handle_;
};

class RecordingTrayView final : public monitor::TrayView {
public:
    explicit RecordingTrayView(Log& log) : log_(log) {}
    bool accepts = true;
    platform::NativeWindow taskbar = 0x500;
    int taskbarLookups = 0, taskbarMissingFor = 0;   // lookups that find none
    std::optional<monitor::TrayImage> shown;   // the icon the shell holds
    std::string tip;
    std::vector<std::vector<monitor::TrayMenuItem>> menus;
    std::optional<monitor::PixelPoint> menuAnchor;   // of the last menu
    bool grantsVersion4 = false;                      // the shell's answer
    int version4Requests = 0;

    bool addIcon(monitor::TrayImage image, const std::string& t) override {
        log_.push_back("icon added");
        if (!accepts || shown) return false;
        shown = image;
        tip = t;
        return true;
    }
    bool modifyIcon(monitor::TrayImage image, const std::string& t) override {
        log_.push_back("icon modified");
        if (!shown) return false;
        shown = image;
        tip = t;
        return true;
    }
    void deleteIcon() override {
        log_.push_back("icon deleted");
        shown.reset();
    }
    bool useVersion4() override {
        ++version4Requests;
        return grantsVersion4;
    }
    void releaseImages() override { log_.push_back("images released"); }
    platform::NativeWindow findTaskbar() override {
        return ++taskbarLookups > taskbarMissingFor ? taskbar : 0;
    }
    void popUpMenu(const std::vector<monitor::TrayMenuItem>& items, std::optional<monitor::PixelPoint> anchor) override {
        log_.push_back("menu");
        menus.push_back(items);
        menuAnchor = anchor;
    }
    void beep() override { log_.push_back("beep"); }

private:
    Log& log_;
};

class RecordingAboutView final : public monitor::AboutView {
public:
    explicit RecordingAboutView(Log& log) : log_(log) {}
    monitor::AboutPresenter* presenter = nullptr;
    std::function<void()> whileOpen;   // what the user does while it is shown
    std::string caption;
    std::map<monitor::AboutControl, std::string> texts;
    std::map<monitor::AboutControl, bool> enabled;
    std::optional<platform::Rect> ownerRect;
    std::optional<monitor::PixelPoint> position;

    void runModal() override {
        log_.push_back("about opened");
        if (presenter) presenter->load();
        if (whileOpen) whileOpen();
        log_.push_back("about closed");
    }
    void close() override { log_.push_back("about closing"); }
    platform::NativeWindow handle() const override { return 0x700; }
    void setCaption(const std::string& t) override { caption = t; }
    void setText(monitor::AboutControl c, const std::string& t) override { texts[c] = t; }
    void enable(monitor::AboutControl c, bool e) override {
        enabled[c] = e;
        log_.push_back(std::string(e ? "enable " : "disable ") + name(c));
    }
    void focus(monitor::AboutControl c) override { log_.push_back(std::string("focus ") + name(c)); }
    int width() override { return 400; }
    int height() override { return 200; }
    void moveTo(int left, int top) override { position = monitor::PixelPoint{left, top}; }
    std::optional<platform::Rect> visibleOwnerRect() override { return ownerRect; }
    monitor::ProgramVersion programVersion() override { return {1, 2, 3}; }

private:
    static const char* name(monitor::AboutControl c) {
        return c == monitor::AboutControl::OkButton ? "OkButton" : c == monitor::AboutControl::SystemInfoButton ? "SystemInfoButton" : "label";
    }
    Log& log_;
};

class RecordingSettingsView final : public monitor::SettingsView {
public:
    using C = monitor::SettingsControl;
    explicit RecordingSettingsView(Log& log) : log_(log) {}
    monitor::SettingsPresenter* presenter = nullptr;
    std::function<void()> whileModal;   // what the user does while it is shown modally
    bool created = false, visible = false;
    int dpiValue = 96, widthPixels = 340, fronts = 0, beeps = 0;
    std::optional<monitor::PixelPoint> position;
    std::map<C, std::string> texts, tooltips;
    std::map<C, bool> enabled, checked;
    std::optional<monitor::SettingsTab> tab;
    std::vector<C> focused, selected;

    void create() override { created = true, log_.push_back("settings created"); }
    void show() override { visible = true, log_.push_back("settings shown"); }
    void runModal() override {
        log_.push_back("settings modal");
        if (whileModal) whileModal();
        if (created) presenter->onClosed();
    }
    void destroy() override { created = visible = false, log_.push_back("settings destroyed"); }
    void bringToFront() override { ++fronts; }
    platform::NativeWindow handle() const override { return 0x800; }
    void setText(C c, const std::string& t) override { texts[c] = t; }
    std::string text(C c) override { return texts[c]; }
    void setTooltip(C c, const std::string& t) override { tooltips[c] = t; }
    void enable(C c, bool e) override { enabled[c] = e; }
    void setChecked(C c, bool on) override {
        checked[c] = on;
        if (on && c == C::GraphOption) checked[C::NumbersOption] = false;   // one group
        if (on && c == C::NumbersOption) checked[C::GraphOption] = false;
    }
    void selectTab(monitor::SettingsTab t) override { tab = t; }
    void focus(C c) override { focused.push_back(c); }
    void selectAll(C c) override { selected.push_back(c); }
    void beep() override { ++beeps; }
    int dpi() override { return dpiValue; }
    int width() override { return widthPixels; }
    void moveTo(int left, int top) override { position = monitor::PixelPoint{left, top}; }
    // The user ticks or clears a box, or selects an option.
    void click(C c) {
        if (c == C::GraphOption || c == C::NumbersOption) return setChecked(c, true), presenter->onOptionSelected(c);
        checked[c] = !checked[c];
        presenter->onCheckClicked(c, checked[c]);
    }

private:
    Log& log_;
};

// The monitor's windows of one copy, on recording views.
struct RecordedWindows {
    RecordedWindows(platform::Platform& platform, monitor::MonitorState& state)
        : windows(platform, state, {tray, simple, graph, about, settings}, [this] { ended = true; }) {
        about.presenter = &windows.about();
        settings.presenter = &windows.settings();
    }
    Log log;
    RecordingTrayView tray{log};
    RecordingStatusView simple{log, "frmSimple", 0x100}, graph{log, "frmGraph", 0x200};
    RecordingAboutView about{log};
    RecordingSettingsView settings{log};
    bool ended = false;
    monitor::MonitorWindows windows;
};

} // namespace tidemark::testing
