// The Win32 view of frmSave: Stowel's only window, a dialog laid out from
// its twips at its own DPI. The program lives as long as it is shown.
#pragma once
#include "platform/win32/GdiHandles.h"
#include "transfer/StowelPresenter.h"

namespace tidemark::transfer {

class Win32StowelWindow final : public StowelView {
public:
    explicit Win32StowelWindow(HINSTANCE instance) : instance_(instance) {}
    void attach(StowelPresenter& presenter) { presenter_ = &presenter; }

    // Shows the window and returns once it is closed.
    void run();

    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(dialog_); }
    void setCaption(const std::string& text) override;
    void setText(StowelControl control, const std::string& text) override;
    void close() override;

    // For the dialog procedure.
    void bind(HWND dialog) { dialog_ = dialog; }
    bool owns(HWND dialog) const { return dialog_ == dialog; }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void layOut(int dpi);

    HINSTANCE instance_;
    StowelPresenter* presenter_ = nullptr;
    HWND dialog_ = nullptr;
    win32::UniqueFont font_;
    win32::UniqueIcon bigIcon_, smallIcon_;
};

} // namespace tidemark::transfer
