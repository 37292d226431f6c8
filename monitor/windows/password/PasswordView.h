// What the password dialog (frmPasIn) and its wait window (frmPsPrg) offer
// their presenter. The Win32 views create the controls at each window's own
// DPI and forward events; every decision is the presenter's.
#pragma once
#include <string>

#include "platform/Display.h"

namespace tidemark::monitor {

enum class PasswordBox { first, second };

class PasswordView {
public:
    virtual ~PasswordView() = default;
    // Shows the dialog modally; returns when it is closed. The presenter's
    // load() runs once the window exists.
    virtual void runModal() = 0;
    virtual void close() = 0;
    virtual void bringToFront() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setAccount(const std::string& name) = 0;
    // The most characters (UTF-16 units) each password box takes.
    virtual void setLimit(unsigned characters) = 0;
    // A box's text; the caller wipes the copy.
    virtual std::string password(PasswordBox box) = 0;
    // Both boxes overwritten in place, then emptied.
    virtual void wipePasswords() = 0;
    // The typed characters readable, or shown as "*".
    virtual void showPasswords(bool readable) = 0;
    virtual void setShowChecked(bool checked) = 0;
    virtual void focus(PasswordBox box) = 0;
    // The boxes and the check box; キャンセル and the close box stay, so that
    // a run of Jobsmith can be given up.
    virtual void enableEntry(bool enabled) = 0;

    virtual void startTimer(unsigned intervalMs) = 0;
    virtual void stopTimer() = 0;
};

class PasswordWaitView {
public:
    virtual ~PasswordWaitView() = default;
    // Shows the window modally over the dialog; returns when it is closed.
    // The presenter's loadWait() runs once the window exists.
    virtual void runModal(platform::NativeWindow owner) = 0;
    virtual void close() = 0;
    virtual void bringToFront() = 0;
    virtual platform::NativeWindow handle() const = 0;

    virtual void setText(const std::string& text) = 0;
    virtual void setProgress(int value, int maximum) = 0;

    virtual void startTimer(unsigned intervalMs) = 0;
    virtual void stopTimer() = 0;
};

} // namespace tidemark::monitor
