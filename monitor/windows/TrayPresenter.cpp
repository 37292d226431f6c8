#include "monitor/windows/TrayPresenter.h"

#include <utility>

namespace tidemark::monitor {
namespace {

void call(const std::function<void()>& action) {
    if (action) action();
}

} // namespace

TrayPresenter::TrayPresenter(MonitorState& state, platform::Clock& clock, TrayView& view, StatusPresenter& simple,
                             StatusPresenter& graph, AboutPresenter& about, TrayActions actions)
    : state_(state), clock_(clock), view_(view), simple_(simple), graph_(graph), about_(about),
      actions_(std::move(actions)) {}

void TrayPresenter::waitForTaskbar() {
    // A start before the shell's taskbar exists is normal at logon.
    platform::NativeWindow tray = 0;
    while ((tray = view_.findTaskbar()) == 0) clock_.sleepMs(kTaskbarPollMs);
    state_.lngTrayWnd = tray;
}

void TrayPresenter::selectImage() {
    lngIconHandle_ = SelectTrayIcon(state_.intMemoryLoad, state_.curAvailPhys,
                                    state_.bolAllUsersIcon || state_.bolUserIcon, clock_.localTime().minute);
}

bool TrayPresenter::addTaskTrayIcon() {
    selectImage();
    return view_.addIcon(lngIconHandle_, trayTipText(state_.intMemoryLoad));
}

void TrayPresenter::modifyTaskTrayIcon() { view_.modifyIcon(lngIconHandle_, trayTipText(state_.intMemoryLoad)); }

void TrayPresenter::delTaskTrayIcon() { view_.deleteIcon(); }

void TrayPresenter::ResetTrayIcons() { view_.releaseImages(); }

void TrayPresenter::refreshTrayImage() {
    selectImage();
    if (lngIconHandle_ != lngLastIconHandle_) {
        modifyTaskTrayIcon();
        lngLastIconHandle_ = lngIconHandle_;
    }
}

void TrayPresenter::CheckTrayRestart() {
    const platform::NativeWindow tray = view_.findTaskbar();
    if (tray != 0 && tray != state_.lngTrayWnd) {
        delTaskTrayIcon();
        state_.bolTrayIconFlag = addTaskTrayIcon();
        state_.lngTrayWnd = tray;
    }
}

void TrayPresenter::TaskbarCreated() {
    // Deleting first keeps a broadcast sent without a restart from failing
    // the add.
    state_.lngTrayWnd = view_.findTaskbar();
    delTaskTrayIcon();
    state_.bolTrayIconFlag = addTaskTrayIcon();
}

void TrayPresenter::onTrayCallback(TrayMouse mouse) {
    modifyTaskTrayIcon();
    if (mouse == TrayMouse::Other) return;
    if (state_.bolAdmBusy) {
        view_.beep();
    } else if (mouse == TrayMouse::LeftButtonUp) {
        toggleStatusWindow();
    } else {
        ShowTrayMenu();
    }
}

void TrayPresenter::ShowTrayMenu() {
    if (about_.isOpen()) {
        about_.focusOk();
    } else if (!state_.bolPasInClosed) {
        call(actions_.focusPasswordWindow);
    } else {
        view_.popUpMenu(menuItems());
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
    case TrayCommand::Fix:
        openSettings();
        break;
    case TrayCommand::AdmFix:
        if (!adminItemEnabled_) break;
        call(state_.bolFrmAdmFxOpen ? actions_.frontAdminSettings : actions_.showAdminSettings);
        break;
    case TrayCommand::Ver:
        about_.showModal();
        break;
    }
}

void TrayPresenter::toggleStatusWindow() {
    if (state_.intFormStyle == 0) ToggleSimpleWindow();
    else ToggleGraphWindow();
}

void TrayPresenter::openSettings() { call(state_.bolFrmFixOpen ? actions_.frontSettings : actions_.showSettings); }

void TrayPresenter::toggle(StatusPresenter& window) {
    window.placeAtTopRight();
    if (about_.isOpen()) {
        about_.focusOk();
        return;
    }
    if (window.which() == StatusWindow::Graph && !state_.bolPasInClosed) {
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
