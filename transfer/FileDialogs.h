// The system's file dialogs for the transfer file: the open and save
// dialogs behind an interface, so that tests answer them.
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

// The transfer file's dialogs as the tools ask for them: they open in the
// CSIDL folder when it is found.
class TransferFileDialog {
public:
    TransferFileDialog(platform::Platform& platform, FileDialogs& dialogs) : platform_(platform), dialogs_(dialogs) {}

    // The chosen path; nullopt when cancelled, failed or empty.
    std::optional<std::string> chooseSavePath(platform::NativeWindow owner, const std::string& filter,
                                              const std::string& defaultExtension, int csidl);
    std::optional<std::string> chooseOpenPath(platform::NativeWindow owner, const std::string& filter,
                                              const std::string& defaultExtension, int csidl);

private:
    FileDialogRequest request(platform::NativeWindow owner, const std::string& filter, const std::string& ext,
                              int csidl);
    std::optional<std::string> answer(const std::optional<std::string>& chosen);

    platform::Platform& platform_;
    FileDialogs& dialogs_;
};

} // namespace tidemark::transfer
