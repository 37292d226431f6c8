#include "monitor/windows/status/win32/StatusWindow.h"

#include <commctrl.h>

#include <oleacc.h>

#include "monitor/windows/win32/AccessibleControl.h"
#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/DialogToolTips.h"
#include "monitor/windows/status/win32/StatusLayout.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

int controlId(StatusControl control) {
    switch (control) {
    case StatusControl::MemoryLoad: return IDC_MEMORY_LOAD;
    case StatusControl::TotalMemory: return IDC_TOTAL_MEMORY;
    case StatusControl::FreeMemory: return IDC_FREE_MEMORY;
    case StatusControl::LastRunCaption: return IDC_LAST_RUN_CAPTION;
    case StatusControl::LastRunText: return IDC_LAST_RUN;
    case StatusControl::FreedCaption: return IDC_FREED_CAPTION;
    case StatusControl::FreedText: return IDC_FREED;
    case StatusControl::NumbersFrame: return IDC_NUMBERS_FRAME;
    case StatusControl::Graph: return IDC_GRAPH;
    case StatusControl::UsedMemory: return IDC_USED_MEMORY;
    case StatusControl::SettingsButton: return IDC_SETTINGS_BUTTON;
    case StatusControl::HideButton: return IDC_HIDE_BUTTON;
    }
    return 0;
}

UINT_PTR timerId(StatusTimer timer) {
    switch (timer) {
    case StatusTimer::Timer1: return 1;
    case StatusTimer::Timer2: return 2;
    default: return 3;
    }
}

StatusTimer timerOf(WPARAM id) {
    return id == 1 ? StatusTimer::Timer1 : id == 2 ? StatusTimer::Timer2 : StatusTimer::CleaningWatch;
}

} // namespace

Win32StatusWindow::Win32StatusWindow(HINSTANCE instance, StatusWindow which, ModelessDialogs& dialogs)
    : instance_(instance), which_(which), dialogs_(dialogs) {}

Win32StatusWindow::~Win32StatusWindow() { destroy(); }

void Win32StatusWindow::attach(StatusPresenter& presenter, OwnedMessages* owned) {
    presenter_ = &presenter;
    owned_ = owned;
}

void Win32StatusWindow::create() {
    if (window_) return;
    const int templateId = which_ == StatusWindow::Simple ? IDD_SIMPLE : IDD_GRAPH;
    // The dialog procedure takes the handle over at WM_INITDIALOG already.
    HWND created = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId), nullptr,
                                        dialogProcedure<Win32StatusWindow>, reinterpret_cast<LPARAM>(this));
    if (window_.get() != created) window_.reset(created);
    if (!window_) return;
    dialogs_.add(window_.get());
    tips_.create(window_.get(), instance_);
}

void Win32StatusWindow::destroy() {
    if (!window_) return;
    dialogs_.remove(window_.get());
    tips_.destroy();
    window_.reset();
    graph_.reset();
}

INT_PTR Win32StatusWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (owned_ && owned_->onOwnerMessage(message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(window_.get());
        layOut(windowDpi(window_.get()));
        if (which_ == StatusWindow::Graph) describeGraph();
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(window_.get(), lParam);
        layOut(LOWORD(wParam));
        if (presenter_) presenter_->onDpiChanged();
        return TRUE;
    case WM_TIMER:
        if (presenter_) presenter_->onTimer(timerOf(wParam));
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        if (presenter_) presenter_->onCloseBox();
        return TRUE;
    case WM_SYSCOLORCHANGE:   // a theme's colours, high contrast among them
        if (presenter_) presenter_->onColoursChanged();
        return FALSE;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST && presenter_) presenter_->onColoursChanged();
        return FALSE;
    case WM_DRAWITEM:
        if (wParam != IDC_GRAPH) return FALSE;
        paintGraphBox(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void Win32StatusWindow::onCommand(int id) {
    if (!presenter_) return;
    if (id == IDC_HIDE_BUTTON) presenter_->onHideClicked();
    else if (id == IDC_SETTINGS_BUTTON) presenter_->onSettingsClicked();
    else if (id == IDCANCEL) presenter_->onEscape();
}

void Win32StatusWindow::layOut(int dpi) {
    HWND w = window_.get();
    dpi_ = dpi;
    font_ = createWindowFont(dpi_, layout::kFontFace, layout::kFontPoints);
    if (which_ == StatusWindow::Simple)
        applyLayout(w, layout::kStatusWidth, layout::kStatusHeight, layout::kSimple, font_.get(), dpi_);
    else
        applyLayout(w, layout::kStatusWidth, layout::kStatusHeight, layout::kGraph, font_.get(), dpi_);
    icon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi_);
    ::SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    graph_.reset();   // made again at the box's new size
}

void Win32StatusWindow::setText(StatusControl control, const std::string& text) {
    if (window_) ::SetDlgItemTextW(window_.get(), controlId(control), win32::toWide(text).c_str());
    if (control == StatusControl::UsedMemory) {
        usedMemory_ = text;
        describeGraph();
    }
}

void Win32StatusWindow::setTooltip(StatusControl control, const std::string& text) {
    HWND control_ = window_ ? ::GetDlgItem(window_.get(), controlId(control)) : nullptr;
    tips_.setText(control_, text);
    setControlDescription(control_, text);
    if (control == StatusControl::Graph) {
        memoryFigures_ = text;
        describeGraph();
    }
}

// The graph box: a picture named by its own (undrawn) text, whose value says
// the window's figures, the used memory and what its tooltip tells.
void Win32StatusWindow::describeGraph() {
    HWND box = window_ ? ::GetDlgItem(window_.get(), IDC_GRAPH) : nullptr;
    if (!box) return;
    wchar_t name[64] = {};
    ::GetWindowTextW(box, name, 64);
    describeControl(box, win32::fromWideBuffer(name), ROLE_SYSTEM_CHART);
    const std::string separator = usedMemory_.empty() || memoryFigures_.empty() ? "" : " / ";
    setControlValue(box, usedMemory_ + separator + memoryFigures_);
}

bool Win32StatusWindow::isVisible() { return window_ && ::IsWindowVisible(window_.get()); }

void Win32StatusWindow::show() {
    if (!window_) return;
    ::ShowWindow(window_.get(), SW_SHOW);
    ::SetForegroundWindow(window_.get());
    ::SetFocus(window_.get());
}

void Win32StatusWindow::hide() {
    if (window_) ::ShowWindow(window_.get(), SW_HIDE);
}

int Win32StatusWindow::width() {
    RECT r{};
    if (window_) ::GetWindowRect(window_.get(), &r);
    return r.right - r.left;
}

void Win32StatusWindow::moveTo(int leftPixels, int topPixels) {
    if (window_)
        ::SetWindowPos(window_.get(), nullptr, leftPixels, topPixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32StatusWindow::startTimer(StatusTimer timer, unsigned intervalMs) {
    if (window_) ::SetTimer(window_.get(), timerId(timer), intervalMs, nullptr);
}

void Win32StatusWindow::stopTimer(StatusTimer timer) {
    if (window_) ::KillTimer(window_.get(), timerId(timer));
}

HBRUSH Win32StatusWindow::brush(std::uint32_t rgb) {
    // The palette's colours and those of the system's schemes met so far.
    if (brushes_.size() > 32) brushes_.clear();
    win32::UniqueBrush& b = brushes_[rgb];
    if (!b) b.reset(::CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF)));
    return b.get();
}

PixelSize Win32StatusWindow::graphBoxSize() {
    RECT client{};
    if (HWND box = window_ ? ::GetDlgItem(window_.get(), IDC_GRAPH) : nullptr) ::GetClientRect(box, &client);
    return {client.right, client.bottom};
}

void Win32StatusWindow::drawGraph(const std::vector<GraphRect>& frame, const GraphColours& colours) {
    HWND box = window_ ? ::GetDlgItem(window_.get(), IDC_GRAPH) : nullptr;
    if (!box) return;
    RECT client{};
    ::GetClientRect(box, &client);
    if (!graph_ || graphSize_.cx != client.right || graphSize_.cy != client.bottom) {
        win32::WindowDc screen(box);
        graph_.reset(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        graphSize_ = {client.right, client.bottom};
    }
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || !graph_) return;
    win32::SelectedObject bitmap(dc.get(), graph_.get());
    const auto colourOf = [&](int index) { return colours[static_cast<std::size_t>(index) % colours.size()]; };
    ::FillRect(dc.get(), &client, brush(colourOf(palette::Black)));
    for (const GraphRect& r : frame) {
        const RECT area{r.rect.left, r.rect.top, r.rect.right, r.rect.bottom};
        ::FillRect(dc.get(), &area, brush(colourOf(r.colour)));
    }
    ::InvalidateRect(box, nullptr, FALSE);
}

void Win32StatusWindow::paintGraphBox(const DRAWITEMSTRUCT& item) {
    if (!graph_) return;
    win32::UniqueMemoryDc dc(::CreateCompatibleDC(item.hDC));
    if (!dc) return;
    win32::SelectedObject bitmap(dc.get(), graph_.get());
    ::BitBlt(item.hDC, 0, 0, graphSize_.cx, graphSize_.cy, dc.get(), 0, 0, SRCCOPY);
}

} // namespace tidemark::monitor
