// What every dialog view of Tidemark does alike: the dialog made from its
// template (modeless, or modal with the thread's other windows out of reach),
// laid out from its twips at its own DPI with the program's font and caption
// icon, laid out again when the DPI changes, its tooltips, and its controls'
// text, state and typed characters by ID. A view owns one and keeps only its
// layout table and the forwarding of its events.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "monitor/windows/win32/ModelessDialogs.h"
#include "platform/win32/GdiHandles.h"
#include "shared/ui/Twips.h"
#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/DialogToolTips.h"
#include "shared/ui/win32/ModalScope.h"

namespace tidemark::monitor {

// A window's client size and its controls' places, in twips.
struct DialogGeometry {
    int widthTwips = 0;
    int heightTwips = 0;
    const layout::ControlPlace* places = nullptr;
    std::size_t count = 0;

    template <std::size_t N>
    constexpr DialogGeometry(int width, int height, const std::array<layout::ControlPlace, N>& table)
        : widthTwips(width), heightTwips(height), places(table.data()), count(N) {}
};

class DialogFrame {
public:
    struct Options {
        bool captionIcon = true;   // the program's small icon in the caption
        bool toolTips = false;
    };

    DialogFrame(HINSTANCE instance, DialogGeometry geometry, Options options);
    ~DialogFrame();
    DialogFrame(const DialogFrame&) = delete;
    DialogFrame& operator=(const DialogFrame&) = delete;

    HINSTANCE instance() const { return instance_; }
    HWND hwnd() const { return dialog_; }
    int dpi() const { return dpi_; }
    HFONT font() const { return font_.get(); }

    // Steps a view adds to every layout (an icon at the DPI, a control's
    // z-order); run after the controls are placed.
    std::function<void(int dpi)> afterLayout;

    // A modeless dialog, created hidden; the view is the dialog procedure's
    // target. Its keyboard handling comes from the program's message loop.
    template <class View>
    bool createModeless(int templateId, View& view, ModelessDialogs& dialogs) {
        if (dialog_) return true;
        HWND created = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId), nullptr,
                                            dialogProcedure<View>, reinterpret_cast<LPARAM>(&view));
        if (created && dialog_ != created) dialog_ = created;
        if (!dialog_) return false;
        modeless_ = &dialogs;
        dialogs.add(dialog_);
        if (options_.toolTips) tips_.create(dialog_, instance_);
        return true;
    }
    void destroyModeless();

    // A modal dialog over owner; returns once it has ended. ownerOnly: only
    // the owner is disabled (a window of the program that is modal itself).
    template <class View>
    void runModal(int templateId, HWND owner, View& view, bool ownerOnly = false) {
        if (ownerOnly) {
            ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId), owner, dialogProcedure<View>,
                              reinterpret_cast<LPARAM>(&view));
        } else {
            OtherWindowsDisabled others(owner);
            ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId), owner, dialogProcedure<View>,
                              reinterpret_cast<LPARAM>(&view));
        }
        ended();
    }
    void endModal(INT_PTR result);

    // For the dialog procedure.
    void bind(HWND dialog) { dialog_ = dialog; }
    bool owns(HWND dialog) const { return dialog_ == dialog; }

    // WM_INITDIALOG: the system's own scaling off, the controls laid out at
    // the window's DPI, the tooltips of a modal dialog; centred on centreOn
    // when one is given.
    void initialise(HWND centreOn = nullptr);
    // WM_DPICHANGED: the suggested rectangle taken and the controls laid out
    // again. True when the message was one.
    bool onDpiMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window itself.
    void show();
    void bringToFront();
    void startTimer(UINT_PTR id, unsigned intervalMs);
    void stopTimer(UINT_PTR id);

    // Controls by ID.
    HWND item(int id) const { return dialog_ ? ::GetDlgItem(dialog_, id) : nullptr; }
    void setText(int id, const std::string& text);
    std::string text(int id) const;
    void setTooltip(int id, const std::string& text);
    // The focus leaves a control before it is disabled, so that the
    // keyboard keeps working.
    void enable(int id, bool enabled);
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    void showControl(int id, bool shown);
    // A tab control's tabs, and the tab chosen in its TCN_SELCHANGE
    // notification (nothing for any other notification).
    void insertTabs(int id, std::initializer_list<const wchar_t*> captions);
    std::optional<int> changedTab(int id, LPARAM notification) const;

    // Which typed characters a box passes to its filter.
    enum class Typed {
        printable,   // backspace and printable ones: other control characters stay the box's own commands
        all,
    };
    // The boxes' typed characters go to accept first; false swallows the
    // character.
    void filterTypedCharacters(std::initializer_list<int> ids, Typed typed,
                               std::function<bool(int id, std::uint32_t)> accept);

private:
    void layOut(int dpi);
    void ended();
    static LRESULT CALLBACK boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    HINSTANCE instance_;
    DialogGeometry geometry_;
    Options options_;
    HWND dialog_ = nullptr;
    ModelessDialogs* modeless_ = nullptr;   // set while a modeless dialog exists
    int dpi_ = kBaseDpi;
    DialogToolTips tips_;
    win32::UniqueFont font_;
    win32::UniqueIcon icon_;
    std::function<bool(int, std::uint32_t)> accept_;
    Typed typed_ = Typed::printable;
};

} // namespace tidemark::monitor
