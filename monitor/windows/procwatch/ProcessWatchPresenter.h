// The process watch window, frmSetEx: browsing for programs, the list of
// programs during whose run the cleaner waits, saving it with the reload
// flag, and Stowel's export and import with the list read again after it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "monitor/core/MonitorContext.h"
#include "monitor/windows/procwatch/WatchListEditor.h"
#include "monitor/windows/procwatch/ProcessWatchView.h"

namespace tidemark::monitor {

class ProcessWatchPresenter {
public:
    static constexpr unsigned kStowelPollMs = 100;

    ProcessWatchPresenter(MonitorContext& context, ProcessWatchView& view);

    // Opened modally from the administrator window.
    void showModal();
    void load();

    // Browsing.
    void onDriveChosen(const std::string& drive);
    void onJumpClicked(int csidl);   // Program Files, Start Menu, Start Menu (ALL)
    void onFileSelected();           // a key or the left button released
    void onFileCleared();            // the left button released on no file
    void onFileRightClicked();
    void onFileDoubleClicked();
    void onAddChosen();              // the file list's menu
    void onFileMenuCancelled();

    // The watch list.
    void onWatchKeyReleased();
    void onWatchClicked();
    void onWatchRightClicked();
    void onWatchDoubleClicked();
    void onWatchMenuCancelled();
    void onFilesDropped(const std::vector<std::string>& paths);
    void onDeleteClicked();
    void onDeleteChosen();           // the watch list's menu

    void onApplyClicked();           // the button and the menu item
    void onTransferChosen();         // 設定の保存と読込
    void onTimer();
    // The button, the menu item, the close box and Esc.
    void onCloseRequested();

    const std::vector<WatchEntry>& entries() const { return entries_; }
    bool changed() const { return changed_; }
    bool transferRunning() const { return stowel_ != nullptr; }

private:
    std::string selectedFilePath();
    void showFileIcon();
    void showWatchIcon();
    void clearFileIcon();
    void add(const std::string& path, bool ask);
    void remove();
    void markChanged();
    void markSaved();
    bool save();
    bool reload();   // false: the file could not be read, the list is as it was
    platform::MessageAnswer ask(const std::string& text, const std::string& title, platform::MessageIcon icon,
                                platform::MessageButtons buttons = platform::MessageButtons::Ok);

    MonitorContext& context_;
    ProcessWatchView& view_;
    std::vector<WatchEntry> entries_;
    std::string lastGoodDrive_;
    std::string ownName_;
    bool changed_ = false;
    bool applyEnabled_ = false;
    std::unique_ptr<platform::RunningProgram> stowel_;
};

} // namespace tidemark::monitor
