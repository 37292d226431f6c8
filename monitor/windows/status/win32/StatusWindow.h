// The Win32 view of a status window (frmSimple or frmGraph): a modeless
// dialog laid out from its twips at its own DPI. It forwards its buttons,
// keys, timers and the tray's messages (frmSimple owns the tray icon) to the
// presenters and draws the graph's frames; it decides nothing.
#pragma once
#include <map>

#include "monitor/windows/status/StatusPresenter.h"
#include "monitor/windows/win32/ModelessDialogs.h"
#include "monitor/windows/win32/OwnerWindow.h"
#include "platform/win32/GdiHandles.h"
#include "shared/ui/win32/DialogToolTips.h"

namespace tidemark::monitor {

class Win32StatusWindow final : public StatusView, public OwnerWindow {
public:
    Win32StatusWindow(HINSTANCE instance, StatusWindow which, ModelessDialogs& dialogs);
    ~Win32StatusWindow() override;
    Win32StatusWindow(const Win32StatusWindow&) = delete;
    Win32StatusWindow& operator=(const Win32StatusWindow&) = delete;

    // owned: the tray icon's messages, given to the window that owns it.
    void attach(StatusPresenter& presenter, OwnedMessages* owned);
    HWND hwnd() const override { return window_.get(); }

    void create() override;
    void destroy() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(hwnd()); }
    void setText(StatusControl control, const std::string& text) override;
    void setTooltip(StatusControl control, const std::string& text) override;
    bool isVisible() override;
    void show() override;
    void hide() override;
    int dpi() override { return dpi_; }
    int width() override;
    void moveTo(int leftPixels, int topPixels) override;
    void startTimer(StatusTimer timer, unsigned intervalMs) override;
    void stopTimer(StatusTimer timer) override;
    PixelSize graphBoxSize() override;
    void drawGraph(const std::vector<GraphRect>& frame, const GraphColours& colours) override;

    // For the dialog procedure.
    void bind(HWND dialog) { window_.reset(dialog); }
    bool owns(HWND dialog) const { return window_.get() == dialog; }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onCommand(int id);
    void layOut(int dpi);
    void paintGraphBox(const DRAWITEMSTRUCT& item);
    HBRUSH brush(std::uint32_t rgb);
    void describeGraph();

    HINSTANCE instance_;
    StatusWindow which_;
    ModelessDialogs& dialogs_;
    StatusPresenter* presenter_ = nullptr;
    OwnedMessages* owned_ = nullptr;
    int dpi_ = kBaseDpi;
    win32::UniqueWindow window_;
    DialogToolTips tips_;   // destroyed before its dialog
    win32::UniqueFont font_;
    win32::UniqueIcon icon_;
    win32::UniqueBitmap graph_;
    SIZE graphSize_{0, 0};
    std::map<std::uint32_t, win32::UniqueBrush> brushes_;   // by 0xRRGGBB
    // The figures the graph window shows, which the graph box's value says.
    std::string usedMemory_;
    std::string memoryFigures_;
};

} // namespace tidemark::monitor
