// What the process watch window (frmSetEx) offers its presenter. The Win32
// view holds the standard drive, folder and file lists and the watch list,
// creates the controls at the window's own DPI and forwards events; every
// decision is the presenter's.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class WatchControl {
    cover,
    title,
    driveList,
    folderList,
    fileList,
    fileIcon,
    watchList,
    watchIcon,
    programFilesButton,
    startMenuButton,
    startMenuAllButton,
    deleteButton,
    applyButton,
    closeButton,
};

enum class WatchMenuItem { apply, remove, add };
enum class WatchPopup { watchList, fileList };

class ProcessWatchView {
public:
    virtual ~ProcessWatchView() = default;
    // Shows the window modally; returns when it is closed. The presenter's
    // load() runs once the window exists.
    virtual void runModal() = 0;
    virtual void close() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setTooltip(WatchControl control, const std::string& text) = 0;
    virtual void enable(WatchControl control, bool enabled) = 0;
    virtual void enableMenuItem(WatchMenuItem item, bool enabled) = 0;
    virtual void enableWindow(bool enabled) = 0;
    virtual void popUp(WatchPopup menu) = 0;

    // Browsing. The drive list's drive ("c:").
    virtual std::string drive() = 0;
    // The drive chosen and its current folder listed: 0, or the error
    // number (68 device unavailable, 71 disk not ready, others as they come).
    virtual int showDrive(const std::string& drive) = 0;
    // The folder list (and with it the file list) on path.
    virtual void showFolder(const std::string& path) = 0;
    virtual void setFilePattern(const std::string& pattern) = 0;
    // The file list's folder and selected file name.
    virtual std::string fileFolder() = 0;
    virtual std::optional<std::string> selectedFile() = 0;
    virtual void clearFileSelection() = 0;

    // The watch list: names only, index for index the presenter's entries.
    virtual void setWatchNames(const std::vector<std::string>& names) = 0;
    virtual void addWatchName(const std::string& name) = 0;
    virtual void removeWatchName(std::size_t index) = 0;
    virtual std::optional<std::size_t> selectedWatch() = 0;
    virtual void clearWatchSelection() = 0;

    // A picture box (fileIcon or watchIcon) showing a file's icon with a
    // tooltip; an empty path clears it and its tooltip.
    virtual void showIcon(WatchControl picture, const std::string& path, const std::string& tooltip) = 0;

    virtual void startTimer(unsigned intervalMs) = 0;
    virtual void stopTimer() = 0;
};

} // namespace tidemark::monitor
