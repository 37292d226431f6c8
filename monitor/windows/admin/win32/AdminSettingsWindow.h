// The Win32 view of the administrator window: a modeless dialog with a tab
// control whose two pages are the dialog's own controls, shown and hidden
// by page, laid out from its twips at its own DPI. It forwards clicks, focus,
// the timer and the close box; it decides nothing.
#pragma once
#include "monitor/windows/admin/AdminSettingsPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"

namespace tidemark::monitor {

class Win32AdminSettingsWindow final : public AdminSettingsView {
public:
    Win32AdminSettingsWindow(HINSTANCE instance, ModelessDialogs& dialogs);
    ~Win32AdminSettingsWindow() override { destroy(); }
    Win32AdminSettingsWindow(const Win32AdminSettingsWindow&) = delete;
    Win32AdminSettingsWindow& operator=(const Win32AdminSettingsWindow&) = delete;

    void attach(AdminSettingsPresenter& presenter) { presenter_ = &presenter; }
    HWND hwnd() const { return frame_.hwnd(); }

    void create() override;
    void destroy() override;
    void show() override;
    void bringToFront() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(hwnd()); }
    void setChecked(AdminControl control, bool checked) override;
    void enable(AdminControl control, bool enabled) override;
    void setText(AdminControl control, const std::string& text) override;
    void selectPage(int page) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;

    // For the dialog procedure.
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onCommand(int id, int code);
    void showPage(int page);

    DialogFrame frame_;
    ModelessDialogs& dialogs_;
    AdminSettingsPresenter* presenter_ = nullptr;
};

} // namespace tidemark::monitor
