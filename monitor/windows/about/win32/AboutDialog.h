// The Win32 view of the About window: a modal dialog owned by frmSimple,
// laid out from its twips at its own DPI, its icon at the matching size.
#pragma once
#include "monitor/windows/AboutPresenter.h"
#include "monitor/windows/win32/StatusWindow.h"
#include "platform/win32/GdiHandles.h"

namespace tidemark::monitor {

class Win32AboutDialog final : public AboutView {
public:
    Win32AboutDialog(HINSTANCE instance, const Win32StatusWindow& owner) : instance_(instance), owner_(owner) {}
    void attach(AboutPresenter& presenter) { presenter_ = &presenter; }

    void runModal() override;
    void close() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(dialog_); }
    void setCaption(const std::string& text) override;
    void setText(AboutControl control, const std::string& text) override;
    void enable(AboutControl control, bool enabled) override;
    void focus(AboutControl control) override;
    int width() override;
    int height() override;
    void moveTo(int leftPixels, int topPixels) override;
    std::optional<platform::Rect> visibleOwnerRect() override;
    ProgramVersion programVersion() override;

    // For the dialog procedure.
    void bind(HWND dialog) { dialog_ = dialog; }
    bool owns(HWND dialog) const { return dialog_ == dialog; }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void layOut(int dpi);

    HINSTANCE instance_;
    const Win32StatusWindow& owner_;
    AboutPresenter* presenter_ = nullptr;
    HWND dialog_ = nullptr;   // while shown; the modal loop ends it
    win32::UniqueFont font_;
    win32::UniqueIcon icon_;
};

} // namespace tidemark::monitor
