// The Win32 view of the process watch window: a modal dialog owned by the
// administrator window, laid out from its twips at its own DPI, with a
// drive combo box, folder and file list boxes, the watch list (an OLE drop
// target, so that files dropped from any process arrive), icons, tooltips,
// a menu bar and two context menus.
#pragma once
#include "monitor/windows/procwatch/ProcessWatchPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"
#include "platform/win32/Handles.h"

struct IDropTarget;

namespace tidemark::monitor {

class Win32ProcessWatchDialog final : public ProcessWatchView {
public:
    explicit Win32ProcessWatchDialog(HINSTANCE instance);
    void attach(ProcessWatchPresenter& presenter, HWND owner) {
        presenter_ = &presenter;
        owner_ = owner;
    }

    void runModal() override;
    void close() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
    void setTooltip(WatchControl control, const std::string& text) override;
    void enable(WatchControl control, bool enabled) override;
    void enableMenuItem(WatchMenuItem item, bool enabled) override;
    void enableWindow(bool enabled) override;
    void popUp(WatchPopup menu) override;
    std::string drive() override;
    int showDrive(const std::string& drive) override;
    void showFolder(const std::string& path) override;
    void setFilePattern(const std::string& pattern) override;
    std::string fileFolder() override { return folder_; }
    std::optional<std::string> selectedFile() override;
    void clearFileSelection() override;
    void setWatchNames(const std::vector<std::string>& names) override;
    void addWatchName(const std::string& name) override;
    void removeWatchName(std::size_t index) override;
    std::optional<std::size_t> selectedWatch() override;
    void clearWatchSelection() override;
    void showIcon(WatchControl picture, const std::string& path, const std::string& tooltip) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;

    // For the dialog procedure.
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // For the drop target.
    void dropFiles(std::vector<std::string> paths);

private:
    static LRESULT CALLBACK listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    bool onCommand(int id, int code);
    void layOutFonts();
    void fillDrives();
    void listFiles();
    void openFolderEntry();
    void onDroppedFiles();

    DialogFrame frame_;   // the dialog while shown; the modal loop ends it
    HWND owner_ = nullptr;
    ProcessWatchPresenter* presenter_ = nullptr;
    std::string folder_;
    std::vector<std::string> patterns_;
    std::vector<std::string> dropped_;   // paths dropped and not yet asked about
    win32::UniqueFont coverFont_, titleFont_;
    win32::UniqueIcon fileIcon_, watchIcon_;
    win32::UniqueMenu popups_;
    IDropTarget* dropTarget_ = nullptr;
};

} // namespace tidemark::monitor
