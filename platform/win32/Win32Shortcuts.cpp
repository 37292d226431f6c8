// Shortcut backend: the shell link object (IShellLinkW with IPersistFile).
#include "platform/win32/Win32Shortcuts.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

// COM for the calling thread for the duration of one call; a thread that
// already has it keeps its own.
class ComScope {
public:
    ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

// The system's text for an error, without its line break; the number when
// the system has no text for it.
std::string errorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) {
        wchar_t number[32];
        ::wsprintfW(number, L"0x%08X", static_cast<unsigned>(code));
        text = number;
    }
    return fromWide(text);
}

platform::ShortcutResult failed(DWORD code) { return {false, errorText(code)}; }

// An HRESULT that wraps a system error is told by that error's text.
platform::ShortcutResult failed(HRESULT result) {
    const DWORD code = static_cast<DWORD>(result);
    return failed(HRESULT_FACILITY(result) == FACILITY_WIN32 ? static_cast<DWORD>(HRESULT_CODE(result)) : code);
}

struct OpenedLink {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    HRESULT result = E_FAIL;
};

OpenedLink newLink() {
    OpenedLink o;
    o.result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, o.link.receive());
    if (SUCCEEDED(o.result)) o.result = o.link->QueryInterface(IID_IPersistFile, o.file.receive());
    return o;
}

OpenedLink loadLink(const std::string& path) {
    OpenedLink o = newLink();
    if (SUCCEEDED(o.result)) o.result = o.file->Load(toWide(path).c_str(), STGM_READ);
    return o;
}

} // namespace

std::optional<std::string> Win32Shortcuts::targetPath(const std::string& shortcutPath) {
    ComScope com;
    OpenedLink o = loadLink(shortcutPath);
    if (FAILED(o.result)) return std::nullopt;
    wchar_t target[MAX_PATH * 4] = {};
    if (FAILED(o.link->GetPath(target, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) return std::nullopt;
    return fromWideBuffer(target);
}

std::optional<platform::ShortcutDetails> Win32Shortcuts::details(const std::string& shortcutPath) {
    ComScope com;
    OpenedLink o = loadLink(shortcutPath);
    if (FAILED(o.result)) return std::nullopt;
    constexpr int kChars = MAX_PATH * 4;
    wchar_t text[kChars] = {};
    platform::ShortcutDetails d;
    if (FAILED(o.link->GetPath(text, kChars, nullptr, SLGP_RAWPATH))) return std::nullopt;
    d.target = fromWideBuffer(text);
    text[0] = 0;
    if (SUCCEEDED(o.link->GetArguments(text, kChars))) d.arguments = fromWideBuffer(text);
    text[0] = 0;
    if (SUCCEEDED(o.link->GetWorkingDirectory(text, kChars))) d.workingDirectory = fromWideBuffer(text);
    text[0] = 0;
    if (SUCCEEDED(o.link->GetDescription(text, kChars))) d.description = fromWideBuffer(text);
    return d;
}

platform::ShortcutResult Win32Shortcuts::create(const std::string& shortcutPath,
                                                const platform::ShortcutDetails& details) {
    ComScope com;
    OpenedLink o = newLink();
    if (FAILED(o.result)) return failed(o.result);
    HRESULT r = o.link->SetPath(toWide(details.target).c_str());
    if (SUCCEEDED(r)) r = o.link->SetArguments(toWide(details.arguments).c_str());
    if (SUCCEEDED(r)) r = o.link->SetWorkingDirectory(toWide(details.workingDirectory).c_str());
    if (SUCCEEDED(r)) r = o.link->SetDescription(toWide(details.description).c_str());
    if (SUCCEEDED(r)) r = o.file->Save(toWide(shortcutPath).c_str(), TRUE);
    if (FAILED(r)) return failed(r);
    return {true, {}};
}

platform::ShortcutResult Win32Shortcuts::remove(const std::string& shortcutPath) {
    if (::DeleteFileW(toWide(shortcutPath).c_str())) return {true, {}};
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {true, {}};
    return failed(error);
}

} // namespace tidemark::win32
