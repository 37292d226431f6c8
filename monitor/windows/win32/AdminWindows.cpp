#include "monitor/windows/win32/AdminWindows.h"

namespace tidemark::monitor {

AdminWindows::AdminWindows(HINSTANCE instance, MonitorContext& context, ModelessDialogs& dialogs)
    : adminView_(instance, dialogs), slowView_(instance), slow_(context, slowView_),
      // The system-start registration and the process watch window come with
      // their own windows; until then their hooks stay empty.
      admin_(context, adminView_, restart_,
             AdminChildren{{}, {}, [this] {
                               slowView_.attach(slow_, adminView_.hwnd());
                               slow_.showModal();
                           }}) {
    adminView_.attach(admin_);
}

} // namespace tidemark::monitor
