// The Win32 view of the slow cleaning window: a modal dialog owned by the
// administrator window, laid out from its twips at its own DPI, with
// tooltips; the boxes pass each typed character to the presenter first.
#pragma once
#include "monitor/windows/slowcleaning/SlowCleaningPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"

namespace tidemark::monitor {

class Win32SlowCleaningDialog final : public SlowCleaningView {
public:
    explicit Win32SlowCleaningDialog(HINSTANCE instance);
    void attach(SlowCleaningPresenter& presenter, HWND owner) {
        presenter_ = &presenter;
        owner_ = owner;
    }

    void runModal() override;
    void close() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
    void setText(SlowCleaningControl control, const std::string& text) override;
    std::string text(SlowCleaningControl control) override;
    void setTooltip(SlowCleaningControl control, const std::string& text) override;
    void enable(SlowCleaningControl control, bool enabled) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;
    void beep() override;

    // For the dialog procedure.
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    DialogFrame frame_;   // the dialog while shown; the modal loop ends it
    HWND owner_ = nullptr;
    SlowCleaningPresenter* presenter_ = nullptr;
};

} // namespace tidemark::monitor
