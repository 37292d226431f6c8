// The system's open and save dialogs (GetOpenFileNameW, GetSaveFileNameW).
#pragma once
#include "transfer/FileDialogs.h"

namespace tidemark::transfer {

class Win32FileDialogs final : public FileDialogs {
public:
    std::optional<std::string> chooseSavePath(const FileDialogRequest& request) override;
    std::optional<std::string> chooseOpenPath(const FileDialogRequest& request) override;
};

} // namespace tidemark::transfer
