#include "monitor/windows/procwatch/win32/ProcessWatchDialog.h"

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cctype>
#include <cwctype>
#include <iterator>
#include <set>
#include <utility>

#include "monitor/windows/procwatch/win32/ProcessWatchLayout.h"
#include "monitor/windows/win32/AccessibleControl.h"
#include "platform/KnownFolders.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kDroppedFilesMessage = WM_APP + 20;   // the dropped paths, taken after the drop returned
constexpr UINT_PTR kListSubclass = 1;
constexpr int kDriveCount = 26;

int controlId(WatchControl control) {
    switch (control) {
    case WatchControl::cover: return IDC_WATCH_COVER;
    case WatchControl::title: return IDC_WATCH_TITLE;
    case WatchControl::driveList: return IDC_DRIVE_LIST;
    case WatchControl::folderList: return IDC_FOLDER_LIST;
    case WatchControl::fileList: return IDC_FILE_LIST;
    case WatchControl::fileIcon: return IDC_FILE_ICON;
    case WatchControl::watchList: return IDC_WATCH_LIST;
    case WatchControl::watchIcon: return IDC_WATCH_ICON;
    case WatchControl::programFilesButton: return IDC_PROGRAM_FILES_BUTTON;
    case WatchControl::startMenuButton: return IDC_START_MENU_BUTTON;
    case WatchControl::startMenuAllButton: return IDC_COMMON_START_MENU_BUTTON;
    case WatchControl::deleteButton: return IDC_DELETE_BUTTON;
    case WatchControl::applyButton: return IDC_WATCH_APPLY_BUTTON;
    case WatchControl::closeButton: return IDC_WATCH_CLOSE_BUTTON;
    }
    return 0;
}

std::wstring listText(HWND list, int index) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string withBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// The system's numbers of a drive that cannot be read, as the window tells
// them: 68 for a drive that is not there, 71 for one without a medium.
int driveError(DWORD error) {
    switch (error) {
    case ERROR_NOT_READY:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_UNRECOGNIZED_MEDIA: return 71;
    case ERROR_INVALID_DRIVE:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST: return 68;
    default: return static_cast<int>(error);
    }
}

// Files dropped on the watch list from this or any other process.
class WatchListDropTarget final : public IDropTarget {
public:
    explicit WatchListDropTarget(Win32ProcessWatchDialog& view) : view_(view) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = data && data->QueryGetData(&format) == S_OK;
        *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (!data || data->GetData(&format, &medium) != S_OK) return S_OK;
        std::vector<std::string> paths;
        if (auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {
            const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
                path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
                paths.push_back(win32::fromWide(path));
            }
            ::GlobalUnlock(medium.hGlobal);
        }
        ::ReleaseStgMedium(&medium);
        *effect = DROPEFFECT_COPY;
        // The program the files were dragged from waits inside its drag
        // until this returns: the paths are kept and asked about afterwards.
        view_.dropFiles(std::move(paths));
        return S_OK;
    }

private:
    Win32ProcessWatchDialog& view_;
    ULONG references_ = 1;
    bool accepts_ = false;
};

} // namespace

Win32ProcessWatchDialog::Win32ProcessWatchDialog(HINSTANCE instance)
    : frame_(instance, {layout::kWatchWidth, layout::kWatchHeight, layout::kWatch}, {true, true}) {
    frame_.afterLayout = [this](int) { layOutFonts(); };
}

void Win32ProcessWatchDialog::runModal() {
    frame_.runModal(IDD_PROCWATCH, owner_, *this);
    popups_.reset();
    fileIcon_.reset();
    watchIcon_.reset();
    coverFont_.reset();
    titleFont_.reset();
}

INT_PTR Win32ProcessWatchDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (frame_.onDpiMessage(message, wParam, lParam)) return TRUE;
    HWND dialog = frame_.hwnd();
    switch (message) {
    case WM_INITDIALOG: {
        frame_.initialise();
        for (int id : {IDC_FILE_LIST, IDC_WATCH_LIST})
            ::SetWindowSubclass(::GetDlgItem(dialog, id), listProcedure, kListSubclass, reinterpret_cast<DWORD_PTR>(this));
        // The icons show only a picture: they still carry a name, and their
        // tooltips' words as their value.
        describeControl(::GetDlgItem(dialog, IDC_FILE_ICON), "選択されたファイルのアイコン", ROLE_SYSTEM_GRAPHIC);
        describeControl(::GetDlgItem(dialog, IDC_WATCH_ICON), "選択されたプロセスのアイコン", ROLE_SYSTEM_GRAPHIC);
        popups_.reset(::LoadMenuW(frame_.instance(), MAKEINTRESOURCEW(IDR_PROCWATCHPOPUPS)));
        fillDrives();
        auto* target = new WatchListDropTarget(*this);
        if (::RegisterDragDrop(::GetDlgItem(dialog, IDC_WATCH_LIST), target) == S_OK) dropTarget_ = target;
        else target->Release();
        centreOnOwner(dialog, owner_);
        if (presenter_) presenter_->load();
        return TRUE;
    }
    case WM_TIMER:
        if (presenter_ && wParam == kPollTimer) presenter_->onTimer();
        return TRUE;
    case WM_COMMAND:
        return presenter_ && onCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        if (presenter_) presenter_->onCloseRequested();
        return TRUE;
    case kDroppedFilesMessage:
        onDroppedFiles();
        return TRUE;
    case WM_DESTROY:
        ::KillTimer(dialog, kPollTimer);
        if (dropTarget_) {
            ::RevokeDragDrop(::GetDlgItem(dialog, IDC_WATCH_LIST));
            dropTarget_->Release();
            dropTarget_ = nullptr;
        }
        for (int id : {IDC_FILE_LIST, IDC_WATCH_LIST})
            ::RemoveWindowSubclass(::GetDlgItem(dialog, id), listProcedure, kListSubclass);
        return FALSE;
    default:
        return FALSE;
    }
}

bool Win32ProcessWatchDialog::onCommand(int id, int code) {
    switch (id) {
    case IDC_DRIVE_LIST:
        if (code != CBN_SELCHANGE) return false;
        {
            HWND combo = ::GetDlgItem(frame_.hwnd(), IDC_DRIVE_LIST);
            const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
            const auto letter = static_cast<wchar_t>(::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
            if (index != CB_ERR) presenter_->onDriveChosen(win32::fromWide(std::wstring{letter, L':'}));
        }
        return true;
    case IDC_FOLDER_LIST:
        if (code == LBN_DBLCLK) openFolderEntry();
        return code == LBN_DBLCLK;
    case IDC_FILE_LIST:
        if (code == LBN_DBLCLK) presenter_->onFileDoubleClicked();
        return code == LBN_DBLCLK;
    case IDC_WATCH_LIST:
        if (code == LBN_DBLCLK) presenter_->onWatchDoubleClicked();
        return code == LBN_DBLCLK;
    case IDC_PROGRAM_FILES_BUTTON: presenter_->onJumpClicked(platform::csidl::ProgramFiles); return true;
    case IDC_START_MENU_BUTTON: presenter_->onJumpClicked(platform::csidl::StartMenu); return true;
    case IDC_COMMON_START_MENU_BUTTON: presenter_->onJumpClicked(platform::csidl::CommonStartMenu); return true;
    case IDC_DELETE_BUTTON: presenter_->onDeleteClicked(); return true;
    case IDC_WATCH_APPLY_BUTTON:
    case IDM_WATCH_APPLY: presenter_->onApplyClicked(); return true;
    case IDM_WATCH_TRANSFER: presenter_->onTransferChosen(); return true;
    case IDC_WATCH_CLOSE_BUTTON:
    case IDM_WATCH_CLOSE:
    case IDCANCEL: presenter_->onCloseRequested(); return true;
    case IDM_WATCH_DELETE: presenter_->onDeleteChosen(); return true;
    case IDM_WATCH_MENU_CANCEL: presenter_->onWatchMenuCancelled(); return true;
    case IDM_FILE_ADD: presenter_->onAddChosen(); return true;
    case IDM_FILE_MENU_CANCEL: presenter_->onFileMenuCancelled(); return true;
    default: return false;
    }
}

LRESULT CALLBACK Win32ProcessWatchDialog::listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                                        UINT_PTR, DWORD_PTR self) {
    auto* view = reinterpret_cast<Win32ProcessWatchDialog*>(self);
    const LRESULT result = ::DefSubclassProc(list, message, wParam, lParam);
    ProcessWatchPresenter* presenter = view->presenter_;
    if (!presenter) return result;
    const bool files = ::GetDlgCtrlID(list) == IDC_FILE_LIST;
    switch (message) {
    case WM_KEYUP:
        files ? presenter->onFileSelected() : presenter->onWatchKeyReleased();
        break;
    case WM_LBUTTONUP:
        if (files) view->selectedFile() ? presenter->onFileSelected() : presenter->onFileCleared();
        else presenter->onWatchClicked();
        break;
    case WM_RBUTTONUP:
        files ? presenter->onFileRightClicked() : presenter->onWatchRightClicked();
        break;
    default:
        break;
    }
    return result;
}

void Win32ProcessWatchDialog::layOutFonts() {
    HWND dialog = frame_.hwnd();
    const int dpi = frame_.dpi();
    coverFont_ = createWindowFont(dpi, L"MS PGothic", layout::kWatchCoverPoints);
    titleFont_ = createWindowFont(dpi, layout::kFontFace, layout::kWatchTitlePoints);
    const auto font = reinterpret_cast<WPARAM>(frame_.font());
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT))
        if (::GetDlgCtrlID(control) == -1) ::SendMessageW(control, WM_SETFONT, font, TRUE);
    ::SendDlgItemMessageW(dialog, IDC_WATCH_COVER, WM_SETFONT, reinterpret_cast<WPARAM>(coverFont_.get()), TRUE);
    ::SendDlgItemMessageW(dialog, IDC_WATCH_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
}

void Win32ProcessWatchDialog::fillDrives() {
    HWND combo = ::GetDlgItem(frame_.hwnd(), IDC_DRIVE_LIST);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    const DWORD drives = ::GetLogicalDrives();
    for (int i = 0; i < kDriveCount; ++i) {
        if (!(drives & (1u << i))) continue;
        const wchar_t text[] = {static_cast<wchar_t>(L'a' + i), L':', 0};
        const auto index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(L'a' + i));
    }
}

std::string Win32ProcessWatchDialog::drive() {
    if (folder_.size() >= 2 && folder_[1] == ':')
        return std::string{static_cast<char>(std::tolower(static_cast<unsigned char>(folder_[0]))), ':'};
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    return std::string{static_cast<char>(std::towlower(current[0])), ':'};
}

int Win32ProcessWatchDialog::showDrive(const std::string& drive) {
    if (drive.empty()) return 68;
    const wchar_t letter = static_cast<wchar_t>(std::towlower(static_cast<wchar_t>(drive[0])));
    // The drive's current folder, as the system keeps one per drive.
    wchar_t full[MAX_PATH] = {};
    const std::wstring driveRoot{letter, L':'};
    if (!::GetFullPathNameW(driveRoot.c_str(), MAX_PATH, full, nullptr)) return driveError(::GetLastError());
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW found{};
    const std::wstring probe = std::wstring(full) + (full[wcslen(full) - 1] == L'\\' ? L"*" : L"\\*");
    HANDLE search = ::FindFirstFileW(probe.c_str(), &found);
    const DWORD error = search == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
    ::SetErrorMode(oldMode);
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    if (error && error != ERROR_FILE_NOT_FOUND) return driveError(error);
    HWND combo = ::GetDlgItem(frame_.hwnd(), IDC_DRIVE_LIST);
    const std::wstring text{letter, L':'};
    ::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    showFolder(win32::fromWide(full));
    return 0;
}

void Win32ProcessWatchDialog::showFolder(const std::string& path) {
    folder_ = path;
    HWND combo = ::GetDlgItem(frame_.hwnd(), IDC_DRIVE_LIST);
    if (path.size() >= 2 && path[1] == ':') {
        const std::wstring text{static_cast<wchar_t>(std::towlower(static_cast<wchar_t>(path[0]))), L':'};
        ::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    }
    HWND folders = ::GetDlgItem(frame_.hwnd(), IDC_FOLDER_LIST);
    ::SendMessageW(folders, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(folders, LB_RESETCONTENT, 0, 0);
    const std::string base = withBackslash(path);
    if (base.size() > 3) ::SendMessageW(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"[..]"));
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(win32::toWide(base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                names.insert(L"[" + name + L"]");
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    for (const auto& name : names) ::SendMessageW(folders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageW(folders, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(folders, nullptr, TRUE);
    listFiles();
}

void Win32ProcessWatchDialog::openFolderEntry() {
    HWND folders = ::GetDlgItem(frame_.hwnd(), IDC_FOLDER_LIST);
    const auto index = static_cast<int>(::SendMessageW(folders, LB_GETCURSEL, 0, 0));
    if (index < 0) return;
    const std::wstring entry = listText(folders, index);
    if (entry.size() < 3) return;
    const std::string name = win32::fromWide(entry.substr(1, entry.size() - 2));
    std::string path = folder_;
    if (name == "..") {
        const auto slash = path.find_last_of('\\', path.size() > 3 && path.back() == '\\' ? path.size() - 2 : std::string::npos);
        path = slash == std::string::npos ? path : path.substr(0, slash == 2 ? 3 : slash);
    } else {
        path = withBackslash(path) + name;
    }
    showFolder(path);
}

void Win32ProcessWatchDialog::setFilePattern(const std::string& pattern) {
    patterns_.clear();
    std::size_t start = 0;
    for (;;) {
        const auto semicolon = pattern.find(';', start);
        patterns_.push_back(pattern.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start));
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
    }
    if (!folder_.empty()) listFiles();
}

void Win32ProcessWatchDialog::listFiles() {
    HWND files = ::GetDlgItem(frame_.hwnd(), IDC_FILE_LIST);
    ::SendMessageW(files, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(files, LB_RESETCONTENT, 0, 0);
    std::set<std::wstring> names;
    for (const auto& pattern : patterns_) {
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW(win32::toWide(withBackslash(folder_) + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
                names.insert(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    for (const auto& name : names) ::SendMessageW(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageW(files, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(files, nullptr, TRUE);
}

std::optional<std::string> Win32ProcessWatchDialog::selectedFile() {
    HWND files = ::GetDlgItem(frame_.hwnd(), IDC_FILE_LIST);
    const auto index = static_cast<int>(::SendMessageW(files, LB_GETCURSEL, 0, 0));
    if (index < 0) return std::nullopt;
    return win32::fromWide(listText(files, index));
}

void Win32ProcessWatchDialog::clearFileSelection() { ::SendDlgItemMessageW(frame_.hwnd(), IDC_FILE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0); }

void Win32ProcessWatchDialog::setWatchNames(const std::vector<std::string>& names) {
    HWND list = ::GetDlgItem(frame_.hwnd(), IDC_WATCH_LIST);
    // Long lists fill with drawing off: one repaint at the end.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(list, LB_INITSTORAGE, names.size(), static_cast<LPARAM>(names.size() * 32));
    for (const auto& name : names)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::toWide(name).c_str()));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void Win32ProcessWatchDialog::addWatchName(const std::string& name) {
    ::SendDlgItemMessageW(frame_.hwnd(), IDC_WATCH_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::toWide(name).c_str()));
}

void Win32ProcessWatchDialog::removeWatchName(std::size_t index) {
    ::SendDlgItemMessageW(frame_.hwnd(), IDC_WATCH_LIST, LB_DELETESTRING, index, 0);
}

std::optional<std::size_t> Win32ProcessWatchDialog::selectedWatch() {
    const auto index = static_cast<int>(::SendDlgItemMessageW(frame_.hwnd(), IDC_WATCH_LIST, LB_GETCURSEL, 0, 0));
    if (index < 0) return std::nullopt;
    return static_cast<std::size_t>(index);
}

void Win32ProcessWatchDialog::clearWatchSelection() { ::SendDlgItemMessageW(frame_.hwnd(), IDC_WATCH_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0); }

void Win32ProcessWatchDialog::showIcon(WatchControl picture, const std::string& path, const std::string& tooltip) {
    win32::UniqueIcon& held = picture == WatchControl::fileIcon ? fileIcon_ : watchIcon_;
    HICON icon = nullptr;
    if (!path.empty()) {
        std::wstring buffer = win32::toWide(path);
        buffer.resize(MAX_PATH > buffer.size() ? MAX_PATH : buffer.size() + 1, L'\0');
        WORD index = 0;
        icon = ::ExtractAssociatedIconW(frame_.instance(), buffer.data(), &index);
    }
    HWND item = ::GetDlgItem(frame_.hwnd(), controlId(picture));
    ::SendMessageW(item, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    held.reset(icon);
    // The control keeps its place whatever the icon's size.
    for (const auto& place : layout::kWatch)
        if (place.id == controlId(picture)) placeControl(frame_.hwnd(), place, frame_.font(), windowDpi(frame_.hwnd()));
    setTooltip(picture, tooltip);
    setControlValue(item, tooltip);
}

void Win32ProcessWatchDialog::dropFiles(std::vector<std::string> paths) {
    if (!frame_.hwnd()) return;
    dropped_.insert(dropped_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
    ::PostMessageW(frame_.hwnd(), kDroppedFilesMessage, 0, 0);
}

void Win32ProcessWatchDialog::onDroppedFiles() {
    std::vector<std::string> paths = std::exchange(dropped_, {});
    if (paths.empty()) return;
    if (presenter_ && frame_.hwnd() && ::IsWindowEnabled(frame_.hwnd())) presenter_->onFilesDropped(paths);
}

void Win32ProcessWatchDialog::close() { frame_.endModal(IDOK); }

void Win32ProcessWatchDialog::setTooltip(WatchControl control, const std::string& text) {
    frame_.setTooltip(controlId(control), text);
}

void Win32ProcessWatchDialog::enable(WatchControl control, bool enabled) { frame_.enable(controlId(control), enabled); }

void Win32ProcessWatchDialog::enableMenuItem(WatchMenuItem item, bool enabled) {
    const UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
    switch (item) {
    case WatchMenuItem::apply:
        if (frame_.hwnd()) ::EnableMenuItem(::GetMenu(frame_.hwnd()), IDM_WATCH_APPLY, flags);
        break;
    case WatchMenuItem::remove:
        if (popups_) ::EnableMenuItem(popups_.get(), IDM_WATCH_DELETE, flags);
        break;
    case WatchMenuItem::add:
        if (popups_) ::EnableMenuItem(popups_.get(), IDM_FILE_ADD, flags);
        break;
    }
}

void Win32ProcessWatchDialog::enableWindow(bool enabled) {
    if (frame_.hwnd()) ::EnableWindow(frame_.hwnd(), enabled ? TRUE : FALSE);
}

void Win32ProcessWatchDialog::popUp(WatchPopup menu) {
    if (!popups_ || !frame_.hwnd()) return;
    HMENU sub = ::GetSubMenu(popups_.get(), menu == WatchPopup::watchList ? 0 : 1);
    POINT at{};
    ::GetCursorPos(&at);
    ::TrackPopupMenu(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, frame_.hwnd(), nullptr);
}

void Win32ProcessWatchDialog::startTimer(unsigned intervalMs) { frame_.startTimer(kPollTimer, intervalMs); }

void Win32ProcessWatchDialog::stopTimer() { frame_.stopTimer(kPollTimer); }

} // namespace tidemark::monitor
