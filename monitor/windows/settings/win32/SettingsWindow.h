// The Win32 view of the settings window: a dialog of standard controls (a
// tab control, frames, labels, edit boxes, check boxes and option buttons)
// laid out from its twips at its own DPI. It forwards clicks, typed
// characters and focus changes to the presenter; it decides nothing.
#pragma once
#include "monitor/windows/settings/SettingsPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"

namespace tidemark::monitor {

class Win32SettingsWindow final : public SettingsView {
public:
    Win32SettingsWindow(HINSTANCE instance, ModelessDialogs& dialogs);
    ~Win32SettingsWindow() override;
    Win32SettingsWindow(const Win32SettingsWindow&) = delete;
    Win32SettingsWindow& operator=(const Win32SettingsWindow&) = delete;

    void attach(SettingsPresenter& presenter) { presenter_ = &presenter; }

    void create() override;
    void show() override;
    void runModal() override;
    void destroy() override;
    void bringToFront() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
    void setText(SettingsControl control, const std::string& text) override;
    std::string text(SettingsControl control) override;
    void setTooltip(SettingsControl control, const std::string& text) override;
    void enable(SettingsControl control, bool enabled) override;
    void setChecked(SettingsControl control, bool checked) override;
    void selectTab(SettingsTab tab) override;
    void focus(SettingsControl control) override;
    void selectAll(SettingsControl control) override;
    void beep() override;
    int dpi() override { return frame_.dpi(); }
    int width() override;
    void moveTo(int leftPixels, int topPixels) override;

    // For the dialog procedure.
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // A character typed into a figure box; false: swallowed.
    bool onCharacter(int id, std::uint32_t code);
    void onCommand(int id, int code);
    void showPage(int page);

    DialogFrame frame_;
    ModelessDialogs& dialogs_;
    SettingsPresenter* presenter_ = nullptr;
};

} // namespace tidemark::monitor
