// A window's own DPI, and a dialog laid out from its twips at that DPI:
// client size, every control's place and the font. Re-run when the DPI
// changes.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "platform/win32/GdiHandles.h"

namespace tidemark::monitor {

// GetDpiForWindow where the system has it, else the screen's DPI.
int windowDpi(HWND window);
// GetSystemMetricsForDpi where the system has it, else scaled from 96.
int systemMetricForDpi(int index, int dpi);
// The dialog manager of newer systems rescales dialogs by itself; these
// windows do it themselves from their twips.
void disableAutomaticDialogScaling(HWND dialog);

// A Japanese font of the given face and size in points, at the DPI.
win32::UniqueFont createWindowFont(int dpi, const wchar_t* face, int points);

// Sizes the client area, places each control and gives it the font.
template <std::size_t N>
void applyLayout(HWND dialog, int clientWidthTwips, int clientHeightTwips,
                 const std::array<layout::ControlPlace, N>& places, HFONT font, int dpi);

// WM_DPICHANGED: the window takes the rectangle the system suggests.
void moveToSuggestedRect(HWND window, LPARAM suggested);

// Centres a dialog on its owner, kept inside the work area of the owner's
// monitor: a large dialog over a small owner near the screen's edge would
// otherwise lose its caption past the edge, where it can no longer be moved.
void centreOnOwner(HWND dialog, HWND owner);

// The procedure of a dialog view: the view travels in the creation
// parameter and DWLP_USER, takes its handle at WM_INITDIALOG, and gets
// every message after that; nothing thrown leaves it.
template <class View>
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<View*>(lParam)->bind(dialog);
    }
    auto* view = reinterpret_cast<View*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!view || !view->owns(dialog)) return FALSE;
    try {
        return view->onMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

void sizeClientArea(HWND window, int widthTwips, int heightTwips, int dpi);
void placeControl(HWND dialog, const layout::ControlPlace& place, HFONT font, int dpi);

template <std::size_t N>
void applyLayout(HWND dialog, int clientWidthTwips, int clientHeightTwips,
                 const std::array<layout::ControlPlace, N>& places, HFONT font, int dpi) {
    sizeClientArea(dialog, clientWidthTwips, clientHeightTwips, dpi);
    for (const layout::ControlPlace& place : places) placeControl(dialog, place, font, dpi);
    ::InvalidateRect(dialog, nullptr, TRUE);
}

} // namespace tidemark::monitor
