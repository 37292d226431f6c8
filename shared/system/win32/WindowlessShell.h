// The Win32 shell every windowless program shares: a hidden top-level window
// (owner of the shell calls; the session's end arrives there, which a
// message-only window would never see, as broadcasts skip those), its message
// pump, and message boxes that are shown only where a desktop can show them.
#pragma once
#include "platform/Platform.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::windowless {

class HiddenWindow {
public:
    HiddenWindow(HINSTANCE instance, const wchar_t* className);
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    platform::NativeWindow native() const { return reinterpret_cast<platform::NativeWindow>(window_.get()); }
    // Handles every message waiting; false once the session ends (logoff or
    // shutdown), the window was closed or the thread was asked to quit.
    bool pumpMessages();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ended_ = false;
    win32::UniqueWindow window_;
};

// True when the process's window station is the interactive one, where a
// message box can be seen and answered.
bool onInteractiveDesktop();

// Message boxes that go to the screen only on an interactive desktop;
// elsewhere (a system-start run) they are skipped and answered with the
// default button, so that nothing waits for a box nobody sees.
class DesktopOnlyMessages final : public platform::MessageBoxes {
public:
    explicit DesktopOnlyMessages(platform::MessageBoxes& inner) : inner_(inner), interactive_(onInteractiveDesktop()) {}
    platform::MessageAnswer show(const platform::MessageRequest& request) override;

private:
    platform::MessageBoxes& inner_;
    bool interactive_;
};

// The same platform bundle with other message boxes.
platform::Platform withMessages(platform::Platform& base, platform::MessageBoxes& messages);

// COM for the shell calls, for the program's whole run.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// What every windowless program's entry point sets up, in this order: COM,
// the Win32 platform with desktop-only message boxes, and the hidden window
// that owns the shell calls.
class WindowlessProcess {
public:
    WindowlessProcess(HINSTANCE instance, const wchar_t* className)
        : messages_(backend_.platform().messages), platform(withMessages(backend_.platform(), messages_)),
          window(instance, className) {}
    WindowlessProcess(const WindowlessProcess&) = delete;
    WindowlessProcess& operator=(const WindowlessProcess&) = delete;

private:
    ComApartment com_;
    win32::Win32Platform backend_;
    DesktopOnlyMessages messages_;

public:
    platform::Platform platform;
    HiddenWindow window;
};

} // namespace tidemark::windowless
