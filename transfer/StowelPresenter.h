// Stowel's window, frmSave: a button that exports the settings into a
// transfer file and one that imports a transfer file. A successful export
// or import ends the program; a cancelled dialog, a refused file or a
// failure leave the window for another try.
#pragma once
#include "platform/Platform.h"
#include "transfer/FileDialogs.h"
#include "transfer/SettingsTransfer.h"
#include "transfer/StowelView.h"

namespace tidemark::transfer {

// Stowel's checks before its window: false when the program must end.
bool stowelMayStart(platform::Platform& platform);

class StowelPresenter {
public:
    StowelPresenter(platform::Platform& platform, StowelView& view, FileDialogs& dialogs)
        : platform_(platform), view_(view), dialogs_(dialogs) {}

    void load();
    void onSaveClicked();
    void onLoadClicked();

private:
    enum class Direction { Export, Import };
    // The dialog, then the export or import; a success ends the window.
    void transfer(Direction direction);

    platform::Platform& platform_;
    StowelView& view_;
    FileDialogs& dialogs_;
};

} // namespace tidemark::transfer
