#include "transfer/win32/Win32FileDialogs.h"

#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Text.h"

#include <commdlg.h>

namespace tidemark::transfer {
namespace {

// The file name buffer and the title buffer, in characters.
constexpr DWORD kFileChars = 10240;
constexpr DWORD kTitleChars = 1024;

enum class Kind { Save, Open };

std::optional<std::string> choose(const FileDialogRequest& request, Kind kind) {
    // The filter's NULs survive the conversion: each piece is converted alone.
    std::wstring filter;
    std::size_t start = 0;
    while (start < request.filter.size()) {
        const auto end = request.filter.find('\0', start);
        const std::size_t stop = end == std::string::npos ? request.filter.size() : end;
        filter += win32::toWide(request.filter.substr(start, stop - start));
        filter += L'\0';
        start = stop + 1;
    }
    filter += L'\0';
    const std::wstring extension = win32::toWide(request.defaultExtension);
    const std::wstring folder = win32::toWide(request.initialFolder);
    std::wstring file(kFileChars, L'\0');
    std::wstring title(kTitleChars, L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kFileChars;
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = kTitleChars;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = kind == Kind::Save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const BOOL chosen = kind == Kind::Save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (!chosen) return std::nullopt;
    return win32::fromWide(std::wstring(file.c_str()));
}

} // namespace

std::optional<std::string> Win32FileDialogs::chooseSavePath(const FileDialogRequest& request) {
    return choose(request, Kind::Save);
}

std::optional<std::string> Win32FileDialogs::chooseOpenPath(const FileDialogRequest& request) {
    return choose(request, Kind::Open);
}

} // namespace tidemark::transfer
