// Known-folders backend: SHGetFolderPathW and nothing else.
#include "platform/win32/Win32KnownFolders.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<std::string> Win32KnownFolders::folderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
        return std::nullopt;
    }
    std::wstring text(path);
    if (text.empty()) return std::nullopt;
    // A drive root keeps its backslash: "C:" alone would mean the current
    // folder of drive C.
    if (text.size() > 3 && text.back() == L'\\') text.pop_back();
    return fromWide(text);
}

} // namespace tidemark::win32
