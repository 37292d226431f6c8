// The Win32 view of the About window: a modal dialog owned by frmSimple,
// laid out from its twips at its own DPI, its icon at the matching size.
#pragma once
#include "monitor/windows/about/AboutPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"
#include "monitor/windows/win32/OwnerWindow.h"

namespace tidemark::monitor {

class Win32AboutDialog final : public AboutView {
public:
    Win32AboutDialog(HINSTANCE instance, const OwnerWindow& owner);
    void attach(AboutPresenter& presenter) { presenter_ = &presenter; }

    void runModal() override;
    void close() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
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
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    DialogFrame frame_;   // the dialog while shown; the modal loop ends it
    const OwnerWindow& owner_;
    AboutPresenter* presenter_ = nullptr;
    win32::UniqueIcon icon_;
};

} // namespace tidemark::monitor
