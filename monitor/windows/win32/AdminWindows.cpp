#include "monitor/windows/win32/AdminWindows.h"

namespace tidemark::monitor {

AdminWindows::AdminWindows(HINSTANCE instance, MonitorContext& context, ModelessDialogs& dialogs)
    : adminView_(instance, dialogs), slowView_(instance), slow_(context, slowView_), watchView_(instance),
      watch_(context, watchView_), passwordView_(instance), waitView_(instance),
      password_(context, passwordView_, waitView_, restart_),
      admin_(context, adminView_, restart_,
             AdminChildren{[this] {
                               passwordView_.attach(password_, adminView_.hwnd());
                               waitView_.attach(password_);
                               return password_.showModal();
                           },
                           [this] {
                               watchView_.attach(watch_, adminView_.hwnd());
                               watch_.showModal();
                           },
                           [this] {
                               slowView_.attach(slow_, adminView_.hwnd());
                               slow_.showModal();
                           }}) {
    adminView_.attach(admin_);
}

} // namespace tidemark::monitor
