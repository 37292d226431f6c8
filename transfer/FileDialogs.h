// The system's file dialogs for the transfer file (class ComnDiag): the
// open and save dialogs behind an interface, so that tests answer them.
#pragma once
#include <optional>
#include <string>
#include "platform/Platform.h"

namespace tidemark::transfer {

struct FileDialogRequest {
    platform::NativeWindow owner = 0;
    std::string filter;          // pairs of description and pattern, each ended by NUL
    std::string defaultExtension;
    std::string initialFolder;   // empty: the system's choice
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path; nullopt when the user cancelled or the dialog failed.
    // The save dialog asks before a file is overwritten; the open dialog
    // takes only a file that exists.
    virtual std::optional<std::string> chooseSavePath(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseOpenPath(const FileDialogRequest& request) = 0;
};

// ComnDiag: the dialog opens in the CSIDL folder when it is found.
class ComnDiag {
public:
    ComnDiag(platform::Platform& platform, FileDialogs& dialogs) : platform_(platform), dialogs_(dialogs) {}

    bool GetSavePath(platform::NativeWindow lngMeHwnd, const std::string& strFileFilter,
                     const std::string& strDefaultExt, int lngCSIDLValue, std::string& strFileName);
    bool GetLoadPath(platform::NativeWindow lngMeHwnd, const std::string& strFileFilter,
                     const std::string& strDefaultExt, int lngCSIDLValue, std::string& strFileName);

private:
    FileDialogRequest request(platform::NativeWindow owner, const std::string& filter, const std::string& ext,
                              int csidl);
    bool answer(const std::optional<std::string>& chosen, std::string& strFileName);

    platform::Platform& platform_;
    FileDialogs& dialogs_;
};

} // namespace tidemark::transfer
