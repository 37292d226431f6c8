#include "transfer/FileDialogs.h"

#include "shared/accounts/GetsProc.h"

namespace tidemark::transfer {

FileDialogRequest ComnDiag::request(platform::NativeWindow owner, const std::string& filter, const std::string& ext,
                                    int csidl) {
    FileDialogRequest r;
    r.owner = owner;
    r.filter = filter;
    r.defaultExtension = ext;
    std::string folder;
    if (GetFldNm(platform_).GetSysFolderPath(owner, csidl, folder)) r.initialFolder = folder;
    return r;
}

bool ComnDiag::answer(const std::optional<std::string>& chosen, std::string& strFileName) {
    // The dialog's window goes before anything else is drawn.
    platform_.clock.sleepMs(10);
    if (!chosen || chosen->empty()) return false;
    strFileName = *chosen;
    return true;
}

bool ComnDiag::GetSavePath(platform::NativeWindow owner, const std::string& filter, const std::string& ext, int csidl,
                           std::string& strFileName) {
    return answer(dialogs_.chooseSavePath(request(owner, filter, ext, csidl)), strFileName);
}

bool ComnDiag::GetLoadPath(platform::NativeWindow owner, const std::string& filter, const std::string& ext, int csidl,
                           std::string& strFileName) {
    return answer(dialogs_.chooseOpenPath(request(owner, filter, ext, csidl)), strFileName);
}

} // namespace tidemark::transfer
