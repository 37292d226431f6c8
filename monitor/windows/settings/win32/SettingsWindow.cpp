#include "monitor/windows/win32/SettingsWindow.h"

#include <commctrl.h>

#include <utility>

#include "shared/ui/win32/DialogLayout.h"
#include "shared/ui/win32/DialogToolTips.h"
#include "monitor/windows/win32/SettingsLayout.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

struct ControlInfo {
    SettingsControl control;
    int id;
    int page;
};

constexpr ControlInfo kControls[] = {
    {SettingsControl::CleanerFrame, IDC_FRMMEMCLEAN, 0},  {SettingsControl::TriggerBox, IDC_TXTSTRMEMSIZE, 0},
    {SettingsControl::SizeBox, IDC_TXTCLENMEMSIZE, 0},    {SettingsControl::AutoButton, IDC_CMDAUTO, 0},
    {SettingsControl::DecideButton, IDC_CMDDECIDE, 0},    {SettingsControl::StartupFrame, IDC_FRMSTRTUP, 1},
    {SettingsControl::AllUsersStartup, IDC_CHKALL, 1},    {SettingsControl::UserStartup, IDC_CHKME, 1},
    {SettingsControl::IconFrame, IDC_FRMICON, 2},         {SettingsControl::AllUsersIcon, IDC_CHKICONALL, 2},
    {SettingsControl::UserIcon, IDC_CHKICONME, 2},        {SettingsControl::ScreenFrame, IDC_FRMPICTURE, 3},
    {SettingsControl::GraphOption, IDC_OPTGRAPH, 3},      {SettingsControl::NumbersOption, IDC_OPTSIMPLE, 3},
};

// The labels, which the presenter never addresses, and their pages.
constexpr std::pair<int, int> kLabels[] = {
    {IDC_LABEL1_0_FIX, 0}, {IDC_LABEL1_1_FIX, 0}, {IDC_LABEL2_0_FIX, 0}, {IDC_LABEL2_1_FIX, 0}};

constexpr const wchar_t* kTabCaptions[] = {L"クリーナー設定", L"スタートアップ", L"アイコン", L"画面"};

int idOf(SettingsControl control) {
    for (const ControlInfo& c : kControls)
        if (c.control == control) return c.id;
    return 0;
}

const ControlInfo* infoOf(int id) {
    for (const ControlInfo& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}

// The figure boxes' typed characters go to the view before the box.
LRESULT CALLBACK figureBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data) {
    if (message == WM_CHAR) {
        auto* view = reinterpret_cast<Win32SettingsWindow*>(data);
        bool accepted = true;
        try {
            accepted = view->onCharacter(static_cast<int>(id), wParam);
        } catch (...) {
            accepted = false;
        }
        if (!accepted) return 0;
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(box, figureBoxProcedure, id);
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

// The program's other windows while a modal one is up.
struct DisabledWindows {
    HWND except;
    std::vector<HWND> windows;
};

BOOL CALLBACK disableOne(HWND window, LPARAM data) {
    auto* d = reinterpret_cast<DisabledWindows*>(data);
    if (window != d->except && ::IsWindowEnabled(window)) {
        ::EnableWindow(window, FALSE);
        d->windows.push_back(window);
    }
    return TRUE;
}

} // namespace

Win32SettingsWindow::Win32SettingsWindow(HINSTANCE instance, ModelessDialogs& dialogs)
    : instance_(instance), dialogs_(dialogs) {}

Win32SettingsWindow::~Win32SettingsWindow() { destroy(); }

void Win32SettingsWindow::create() {
    if (window_) return;
    HWND created = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
                                        dialogProcedure<Win32SettingsWindow>, reinterpret_cast<LPARAM>(this));
    if (window_.get() != created) window_.reset(created);
    if (!window_) return;
    dialogs_.add(window_.get());
    tips_.create(window_.get(), instance_);
    for (int id : {IDC_TXTSTRMEMSIZE, IDC_TXTCLENMEMSIZE})
        ::SetWindowSubclass(::GetDlgItem(window_.get(), id), figureBoxProcedure, static_cast<UINT_PTR>(id),
                            reinterpret_cast<DWORD_PTR>(this));
}

void Win32SettingsWindow::show() {
    if (!window_) return;
    ::ShowWindow(window_.get(), SW_SHOW);
    ::SetForegroundWindow(window_.get());
}

void Win32SettingsWindow::runModal() {
    if (!window_) return;
    DisabledWindows disabled{window_.get(), {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&disabled));
    show();
    MSG msg;
    while (window_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit goes on to the main loop.
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (dialogs_.route(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    for (HWND w : disabled.windows)
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    if (window_) destroy();
}

void Win32SettingsWindow::destroy() {
    if (!window_) return;
    dialogs_.remove(window_.get());
    tips_.destroy();
    window_.reset();
}

void Win32SettingsWindow::bringToFront() {
    if (!window_) return;
    if (::IsIconic(window_.get())) ::ShowWindow(window_.get(), SW_RESTORE);
    ::ShowWindow(window_.get(), SW_SHOW);
    ::SetForegroundWindow(window_.get());
}

INT_PTR Win32SettingsWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        disableAutomaticDialogScaling(window_.get());
        createTabs();
        layOut(windowDpi(window_.get()));
        showPage(0);
        return TRUE;
    case WM_DPICHANGED:
        moveToSuggestedRect(window_.get(), lParam);
        layOut(LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SSTAB1 && header->code == TCN_SELCHANGE)
            showPage(static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
    case WM_CLOSE:
        if (presenter_) presenter_->onClosed();
        return TRUE;
    default:
        return FALSE;
    }
}

bool Win32SettingsWindow::onCharacter(int id, WPARAM code) {
    const ControlInfo* info = infoOf(id);
    return !presenter_ || !info || presenter_->onCharacterTyped(info->control, static_cast<std::uint32_t>(code));
}

void Win32SettingsWindow::onCommand(int id, int code) {
    if (!presenter_) return;
    if (id == IDCANCEL) {
        presenter_->onClosed();
        return;
    }
    const ControlInfo* info = infoOf(id);
    if (!info) return;
    if (code == EN_SETFOCUS || code == BN_SETFOCUS) {
        presenter_->onFocused(info->control);
        return;
    }
    if (code != BN_CLICKED) return;
    const bool checked = ::IsDlgButtonChecked(window_.get(), id) == BST_CHECKED;
    switch (info->control) {
    case SettingsControl::AutoButton: presenter_->onAutoClicked(); break;
    case SettingsControl::DecideButton: presenter_->onDecideClicked(); break;
    case SettingsControl::GraphOption:
    case SettingsControl::NumbersOption:
        if (checked) presenter_->onOptionSelected(info->control);
        break;
    default: presenter_->onCheckClicked(info->control, checked); break;
    }
}

void Win32SettingsWindow::createTabs() {
    HWND tabs = ::GetDlgItem(window_.get(), IDC_SSTAB1);
    for (int i = 0; i < 4; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        ::SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void Win32SettingsWindow::showPage(int page) {
    HWND w = window_.get();
    if (!w) return;
    ::SendMessageW(::GetDlgItem(w, IDC_SSTAB1), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (const ControlInfo& c : kControls) ::ShowWindow(::GetDlgItem(w, c.id), c.page == page ? SW_SHOW : SW_HIDE);
    for (const auto& [id, labelPage] : kLabels) ::ShowWindow(::GetDlgItem(w, id), labelPage == page ? SW_SHOW : SW_HIDE);
}

void Win32SettingsWindow::layOut(int dpi) {
    HWND w = window_.get();
    dpi_ = dpi;
    font_ = createWindowFont(dpi_, layout::kFontFace, layout::kFontPoints);
    applyLayout(w, layout::kSettingsWidth, layout::kSettingsHeight, layout::kSettings, font_.get(), dpi_);
    icon_ = loadSmallIcon(instance_, IDI_TIDEMARK, dpi_);
    ::SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void Win32SettingsWindow::setText(SettingsControl control, const std::string& text) {
    if (window_) ::SetDlgItemTextW(window_.get(), idOf(control), win32::toWide(text).c_str());
}

std::string Win32SettingsWindow::text(SettingsControl control) {
    HWND c = window_ ? ::GetDlgItem(window_.get(), idOf(control)) : nullptr;
    if (!c) return {};
    const int length = ::GetWindowTextLengthW(c);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(c, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return win32::fromWide(buffer);
}

void Win32SettingsWindow::setTooltip(SettingsControl control, const std::string& text) {
    HWND c = window_ ? ::GetDlgItem(window_.get(), idOf(control)) : nullptr;
    tips_.setText(c, text);
}

void Win32SettingsWindow::enable(SettingsControl control, bool enabled) {
    if (window_) ::EnableWindow(::GetDlgItem(window_.get(), idOf(control)), enabled ? TRUE : FALSE);
}

void Win32SettingsWindow::setChecked(SettingsControl control, bool checked) {
    if (!window_) return;
    const int id = idOf(control);
    if (checked && (control == SettingsControl::GraphOption || control == SettingsControl::NumbersOption))
        ::CheckRadioButton(window_.get(), IDC_OPTGRAPH, IDC_OPTSIMPLE, id);
    else
        ::CheckDlgButton(window_.get(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32SettingsWindow::selectTab(SettingsTab tab) { showPage(static_cast<int>(tab)); }

void Win32SettingsWindow::focus(SettingsControl control) {
    if (window_)
        ::SendMessageW(window_.get(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window_.get(), idOf(control))),
                       TRUE);
}

void Win32SettingsWindow::selectAll(SettingsControl control) {
    if (window_) ::SendDlgItemMessageW(window_.get(), idOf(control), EM_SETSEL, 0, -1);
}

void Win32SettingsWindow::beep() { ::MessageBeep(MB_OK); }

int Win32SettingsWindow::width() {
    RECT r{};
    if (window_) ::GetWindowRect(window_.get(), &r);
    return r.right - r.left;
}

void Win32SettingsWindow::moveTo(int leftPixels, int topPixels) {
    if (window_)
        ::SetWindowPos(window_.get(), nullptr, leftPixels, topPixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace tidemark::monitor
