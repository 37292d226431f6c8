#include "monitor/windows/win32/DialogFrame.h"

#include <commctrl.h>

#include <utility>

#include "monitor/windows/win32/AccessibleControl.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kBoxSubclass = 1;

// A list box shows no text of its own, so the system's proxy has no name
// for it; it takes the text of the label right before it, as a box's name is.
void nameListsByTheirLabels(HWND dialog) {
    const auto classIs = [](HWND window, const wchar_t* name) {
        wchar_t found[32] = {};
        return ::GetClassNameW(window, found, 32) > 0 && ::lstrcmpiW(found, name) == 0;
    };
    HWND previous = nullptr;
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (previous && classIs(control, WC_LISTBOXW) && classIs(previous, WC_STATICW)) {
            wchar_t label[256] = {};
            ::GetWindowTextW(previous, label, 256);
            ::SetWindowTextW(control, label);
        }
        previous = control;
    }
}

} // namespace

DialogFrame::DialogFrame(HINSTANCE instance, DialogGeometry geometry, Options options)
    : instance_(instance), geometry_(geometry), options_(options) {}

DialogFrame::~DialogFrame() { destroyModeless(); }

void DialogFrame::destroyModeless() {
    if (!modeless_ || !dialog_) return;
    modeless_->remove(dialog_);
    modeless_ = nullptr;
    tips_.destroy();
    HWND dialog = std::exchange(dialog_, nullptr);
    ::DestroyWindow(dialog);
    icon_.reset();
    font_.reset();
}

void DialogFrame::ended() {
    tips_.destroy();
    dialog_ = nullptr;
    icon_.reset();
    font_.reset();
}

void DialogFrame::endModal(INT_PTR result) {
    if (dialog_) ::EndDialog(dialog_, result);
}

void DialogFrame::initialise(HWND centreOn) {
    nameListsByTheirLabels(dialog_);
    disableAutomaticDialogScaling(dialog_);
    layOut(windowDpi(dialog_));
    if (options_.toolTips && !modeless_) tips_.create(dialog_, instance_);
    if (centreOn) centreOnOwner(dialog_, centreOn);
}

bool DialogFrame::onDpiMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DPICHANGED) return false;
    moveToSuggestedRect(dialog_, lParam);
    layOut(LOWORD(wParam));
    return true;
}

void DialogFrame::layOut(int dpi) {
    dpi_ = dpi;
    font_ = createWindowFont(dpi, layout::kFontFace, layout::kFontPoints);
    sizeClientArea(dialog_, geometry_.widthTwips, geometry_.heightTwips, dpi);
    for (std::size_t i = 0; i < geometry_.count; ++i) placeControl(dialog_, geometry_.places[i], font_.get(), dpi);
    ::InvalidateRect(dialog_, nullptr, TRUE);
    if (options_.captionIcon) {
        icon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi);
        ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    }
    if (afterLayout) afterLayout(dpi);
}

void DialogFrame::show() {
    if (!dialog_) return;
    ::ShowWindow(dialog_, SW_SHOW);
    ::SetForegroundWindow(dialog_);
}

void DialogFrame::bringToFront() {
    if (!dialog_) return;
    if (::IsIconic(dialog_)) ::ShowWindow(dialog_, SW_RESTORE);
    ::SetForegroundWindow(dialog_);
}

void DialogFrame::startTimer(UINT_PTR id, unsigned intervalMs) {
    if (dialog_) ::SetTimer(dialog_, id, intervalMs, nullptr);
}

void DialogFrame::stopTimer(UINT_PTR id) {
    if (dialog_) ::KillTimer(dialog_, id);
}

void DialogFrame::setText(int id, const std::string& text) {
    if (dialog_) ::SetDlgItemTextW(dialog_, id, win32::toWide(text).c_str());
}

std::string DialogFrame::text(int id) const {
    HWND control = item(id);
    if (!control) return {};
    std::wstring buffer(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = ::GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return win32::fromWide(buffer);
}

void DialogFrame::setTooltip(int id, const std::string& text) {
    tips_.setText(item(id), text);
    setControlDescription(item(id), text);
}

void DialogFrame::enable(int id, bool enabled) {
    HWND control = item(id);
    if (!control) return;
    if (!enabled && ::GetFocus() == control) ::SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(control, enabled ? TRUE : FALSE);
}

void DialogFrame::setChecked(int id, bool checked) {
    // BM_SETCHECK sends no click: what the presenter sets is not an event.
    if (dialog_) ::CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool DialogFrame::isChecked(int id) const { return dialog_ && ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void DialogFrame::showControl(int id, bool shown) {
    if (HWND control = item(id)) ::ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void DialogFrame::insertTabs(int id, std::initializer_list<const wchar_t*> captions) {
    HWND tabs = item(id);
    int index = 0;
    for (const wchar_t* caption : captions) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(caption);
        ::SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&tab));
    }
}

std::optional<int> DialogFrame::changedTab(int id, LPARAM notification) const {
    const auto* header = reinterpret_cast<const NMHDR*>(notification);
    if (!header || header->idFrom != static_cast<UINT_PTR>(id) || header->code != TCN_SELCHANGE) return std::nullopt;
    return static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
}

void DialogFrame::filterTypedCharacters(std::initializer_list<int> ids, Typed typed,
                                        std::function<bool(int id, std::uint32_t)> accept) {
    accept_ = std::move(accept);
    typed_ = typed;
    for (int id : ids)
        if (HWND box = item(id))
            ::SetWindowSubclass(box, boxProcedure, kBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK DialogFrame::boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(box, boxProcedure, kBoxSubclass);
    } else if (message == WM_CHAR) {
        auto* frame = reinterpret_cast<DialogFrame*>(self);
        if (frame->typed_ == Typed::printable && wParam < 0x20 && wParam != 8)
            return ::DefSubclassProc(box, message, wParam, lParam);
        bool accepted = true;
        try {
            if (frame->accept_) accepted = frame->accept_(::GetDlgCtrlID(box), static_cast<std::uint32_t>(wParam));
        } catch (...) {
            accepted = false;
        }
        if (!accepted) return 0;
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

} // namespace tidemark::monitor
