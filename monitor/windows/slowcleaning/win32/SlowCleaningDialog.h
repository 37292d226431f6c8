// The Win32 view of the slow cleaning window: a modal dialog owned by the
// administrator window, laid out from its twips at its own DPI, with
// tooltips; the boxes pass each typed character to the presenter first.
#pragma once
#include "monitor/windows/SlowCleaningPresenter.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/Handles.h"
#include "shared/ui/win32/DialogToolTips.h"

namespace tidemark::monitor {

class Win32SlowCleaningDialog final : public SlowCleaningView {
public:
    explicit Win32SlowCleaningDialog(HINSTANCE instance) : instance_(instance) {}
    void attach(SlowCleaningPresenter& presenter, HWND owner) {
        presenter_ = &presenter;
        owner_ = owner;
    }

    void runModal() override;
    void close() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(dialog_); }
    void setText(SlowCleaningControl control, const std::string& text) override;
    std::string text(SlowCleaningControl control) override;
    void setTooltip(SlowCleaningControl control, const std::string& text) override;
    void enable(SlowCleaningControl control, bool enabled) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;
    void beep() override;

    // For the dialog procedure.
    void bind(HWND dialog) { dialog_ = dialog; }
    bool owns(HWND dialog) const { return dialog_ == dialog; }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void layOut(int dpi);

    HINSTANCE instance_;
    HWND owner_ = nullptr;
    SlowCleaningPresenter* presenter_ = nullptr;
    HWND dialog_ = nullptr;   // while shown; the modal loop ends it
    DialogToolTips tips_;
    win32::UniqueFont font_;
    win32::UniqueIcon icon_;
};

} // namespace tidemark::monitor
