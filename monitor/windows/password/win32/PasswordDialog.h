// The Win32 views of the password dialog and its wait window: modal
// dialogs laid out from their twips at their own DPI. The dialog's boxes
// are password edit boxes; Enter reaches the dialog as IDOK (there is no
// OK button) and is passed on with the box that has the focus.
#pragma once
#include "monitor/windows/password/PasswordPresenter.h"
#include "monitor/windows/win32/DialogFrame.h"

namespace tidemark::monitor {

class Win32PasswordDialog final : public PasswordView {
public:
    explicit Win32PasswordDialog(HINSTANCE instance);
    void attach(PasswordPresenter& presenter, HWND owner) {
        presenter_ = &presenter;
        owner_ = owner;
    }

    void runModal() override;
    void close() override;
    void bringToFront() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
    void setAccount(const std::string& name) override;
    void setLimit(unsigned characters) override;
    std::string password(PasswordBox box) override;
    void wipePasswords() override;
    void showPasswords(bool readable) override;
    void setShowChecked(bool checked) override;
    void focus(PasswordBox box) override;
    void enableEntry(bool enabled) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;

    // For the dialog procedure.
    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    DialogFrame frame_;   // the dialog while shown
    HWND owner_ = nullptr;
    PasswordPresenter* presenter_ = nullptr;
    win32::UniqueIcon icon_;   // the large icon beside the account
};

class Win32PasswordWaitWindow final : public PasswordWaitView {
public:
    explicit Win32PasswordWaitWindow(HINSTANCE instance);
    void attach(PasswordPresenter& presenter) { presenter_ = &presenter; }

    void runModal(platform::NativeWindow owner) override;
    void close() override;
    void bringToFront() override;
    platform::NativeWindow handle() const override { return reinterpret_cast<platform::NativeWindow>(frame_.hwnd()); }
    void setText(const std::string& text) override;
    void setProgress(int value, int maximum) override;
    void startTimer(unsigned intervalMs) override;
    void stopTimer() override;

    void bind(HWND dialog) { frame_.bind(dialog); }
    bool owns(HWND dialog) const { return frame_.owns(dialog); }
    INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    DialogFrame frame_;
    PasswordPresenter* presenter_ = nullptr;
};

} // namespace tidemark::monitor
