#include "monitor/windows/win32/TidemarkApp.h"

namespace tidemark::monitor {

TidemarkApp::TidemarkApp(HINSTANCE instance)
    : simpleView_(instance, StatusWindow::Simple, dialogs_), graphView_(instance, StatusWindow::Graph, dialogs_),
      trayView_(instance, simpleView_), aboutView_(instance, simpleView_), settingsView_(instance, dialogs_),
      windows_(system_.platform(), state_, {trayView_, simpleView_, graphView_, aboutView_, settingsView_}, [this] {
          if (running_) ::PostQuitMessage(0);
      }),
      admin_(instance, windows_.context(), dialogs_) {
    // frmSimple owns the tray icon and its menu.
    simpleView_.attach(windows_.window(StatusWindow::Simple), &trayView_);
    trayView_.attach(windows_.tray());
    graphView_.attach(windows_.window(StatusWindow::Graph), nullptr);
    aboutView_.attach(windows_.about());
    windows_.openAdminSettings = [this] { admin_.open(); };
    windows_.focusPasswordWindow = [this] { admin_.focusPassword(); };
    settingsView_.attach(windows_.settings());
}

// The windows go before the presenters their procedures talk to.
TidemarkApp::~TidemarkApp() {
    settingsView_.destroy();
    graphView_.destroy();
    simpleView_.destroy();
}

int TidemarkApp::run() {
    if (lifecycle::start(windows_.context()) == lifecycle::StartOutcome::Ended) {
        windows_.destroyStatusWindows();
        return 0;
    }
    running_ = true;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (dialogs_.route(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace tidemark::monitor
