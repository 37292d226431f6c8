#include "monitor/windows/tray/TrayPresenter.h"

#include <utility>

namespace tidemark::monitor {
namespace {

void call(const std::function<void()>& action) {
    if (action) action();
}

} // namespace

TrayPresenter::TrayPresenter(MonitorState& state, platform::Clock& clock, TrayView& view, TrayStatusWindow& simple,
                             TrayStatusWindow& graph, TrayAboutWindow& about, TrayActions actions)
    : state_(state), clock_(clock), view_(view), simple_(simple), graph_(graph), about_(about),
      actions_(std::move(actions)) {}

void TrayPresenter::waitForTaskbar() {
    // A start before the shell's taskbar exists is normal at logon.
    platform::NativeWindow tray = 0;
    while ((tray = view_.findTaskbar()) == 0) clock_.sleepMs(kTaskbarPollMs);
    state_.windows.tray = tray;
}

void TrayPresenter::selectImage() {
    image_ = selectTrayIcon(state_.memory.loadPercent, state_.memory.availBytes,
                                    state_.display.allUsersIcon || state_.display.userIcon, clock_.localTime().minute);
}

std::string TrayPresenter::tipText() const {
    const std::string tip =
        trayTipText(state_.memory.loadPercent, trayBand(state_.memory.loadPercent, state_.memory.availBytes));
    const std::string& line = state_.cleaning.trayLine;
    return line.empty() ? tip : tip + "\r" + line;
}

bool TrayPresenter::addTrayIcon() {
    selectImage();
    lastLine_ = state_.cleaning.trayLine;
    const bool added = view_.addIcon(image_, tipText());
    // Each icon the shell adds, again after its restart, starts in its first
    // behaviour.
    if (added) version4_ = view_.useVersion4();
    return added;
}

void TrayPresenter::modifyTrayIcon() {
    lastLine_ = state_.cleaning.trayLine;
    view_.modifyIcon(image_, tipText());
}

void TrayPresenter::removeTrayIcon() { view_.deleteIcon(); }

void TrayPresenter::resetTrayIcons() { view_.releaseImages(); }

void TrayPresenter::refreshTrayImage() {
    selectImage();
    // The picture, or the last cleaning's line: the load alone changes the
    // tip only with the picture, as it always has.
    if (image_ != lastImage_ || state_.cleaning.trayLine != lastLine_) {
        modifyTrayIcon();
        lastImage_ = image_;
    }
}

void TrayPresenter::checkTrayRestart() {
    const platform::NativeWindow tray = view_.findTaskbar();
    if (tray != 0 && tray != state_.windows.tray) {
        removeTrayIcon();
        state_.windows.trayIconShown = addTrayIcon();
        state_.windows.tray = tray;
    }
}

void TrayPresenter::onTaskbarCreated() {
    // Deleting first keeps a broadcast sent without a restart from failing
    // the add.
    state_.windows.tray = view_.findTaskbar();
    removeTrayIcon();
    state_.windows.trayIconShown = addTrayIcon();
}

void TrayPresenter::onTrayCallback(TrayMouse mouse, std::optional<PixelPoint> anchor) {
    modifyTrayIcon();
    // Only a shell that granted version 4 sends the notifications, each after
    // the mouse messages of the same click: there the mouse messages do
    // nothing, so that a click acts once.
    const bool toggles = mouse == TrayMouse::Select || mouse == TrayMouse::KeySelect ||
                         (!version4_ && mouse == TrayMouse::LeftButtonUp);
    const bool opensMenu = mouse == TrayMouse::ContextMenu || (!version4_ && mouse == TrayMouse::RightButtonDown);
    if (!toggles && !opensMenu) return;
    if (mouse != TrayMouse::ContextMenu) anchor.reset();   // at the mouse
    if (state_.windows.adminBusy) {
        view_.beep();
    } else if (toggles) {
        toggleStatusWindow();
    } else {
        showTrayMenu(anchor);
    }
}

void TrayPresenter::showTrayMenu(std::optional<PixelPoint> anchor) {
    if (about_.isOpen()) {
        about_.focusOk();
    } else if (!state_.windows.passwordClosed) {
        call(actions_.focusPasswordWindow);
    } else {
        view_.popUpMenu(menuItems(), anchor);
    }
}

std::vector<TrayMenuItem> TrayPresenter::menuItems() const {
    return trayMenuItems(hideItemVisible_, showItemVisible_, adminItemEnabled_);
}

void TrayPresenter::menuCommand(TrayCommand command) {
    switch (command) {
    case TrayCommand::Cancel:
        break;
    case TrayCommand::Close:
        call(actions_.close);
        break;
    case TrayCommand::Hide:
    case TrayCommand::Show:
        toggleStatusWindow();
        break;
    case TrayCommand::CleanNow:
        call(actions_.cleanNow);
        break;
    case TrayCommand::Fix:
        openSettings();
        break;
    case TrayCommand::AdmFix:
        if (!adminItemEnabled_) break;
        call(state_.windows.adminOpen ? actions_.frontAdminSettings : actions_.showAdminSettings);
        break;
    case TrayCommand::Ver:
        about_.showModal();
        break;
    }
}

void TrayPresenter::toggleStatusWindow() {
    if (state_.display.windowStyle == 0) toggleSimpleWindow();
    else toggleGraphWindow();
}

void TrayPresenter::openSettings() { call(state_.windows.settingsOpen ? actions_.frontSettings : actions_.showSettings); }

void TrayPresenter::toggle(TrayStatusWindow& window) {
    window.placeAtTopRight();
    if (about_.isOpen()) {
        about_.focusOk();
        return;
    }
    if (window.which() == StatusWindow::Graph && !state_.windows.passwordClosed) {
        call(actions_.focusPasswordWindow);
        return;
    }
    // The menu's hide and show items follow the window that was toggled.
    if (window.isVisible()) {
        window.hide();
        hideItemVisible_ = false;
        showItemVisible_ = true;
    } else {
        window.show();
        showItemVisible_ = false;
        hideItemVisible_ = true;
    }
}

} // namespace tidemark::monitor
