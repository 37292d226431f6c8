#include "transfer/FileDialogs.h"

#include "shared/system/SystemQueries.h"

namespace tidemark::transfer {

FileDialogRequest TransferFileDialog::request(platform::NativeWindow owner, const std::string& filter,
                                              const std::string& ext, int csidl) {
    FileDialogRequest r;
    r.owner = owner;
    r.filter = filter;
    r.defaultExtension = ext;
    r.initialFolder = systemFolder(platform_, csidl).value_or(std::string());
    return r;
}

std::optional<std::string> TransferFileDialog::answer(const std::optional<std::string>& chosen) {
    // The dialog's window goes before anything else is drawn.
    platform_.clock.sleepMs(10);
    if (!chosen || chosen->empty()) return std::nullopt;
    return chosen;
}

std::optional<std::string> TransferFileDialog::chooseSavePath(platform::NativeWindow owner, const std::string& filter,
                                                              const std::string& defaultExtension, int csidl) {
    return answer(dialogs_.chooseSavePath(request(owner, filter, defaultExtension, csidl)));
}

std::optional<std::string> TransferFileDialog::chooseOpenPath(platform::NativeWindow owner, const std::string& filter,
                                                              const std::string& defaultExtension, int csidl) {
    return answer(dialogs_.chooseOpenPath(request(owner, filter, defaultExtension, csidl)));
}

} // namespace tidemark::transfer
