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

} // namespace

std::optional<std::string> Win32Shortcuts::targetPath(const std::string& shortcutPath) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.receive())))
        return std::nullopt;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) return std::nullopt;
    if (FAILED(file->Load(toWide(shortcutPath).c_str(), STGM_READ))) return std::nullopt;
    wchar_t target[MAX_PATH * 4] = {};
    if (FAILED(link->GetPath(target, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) return std::nullopt;
    return fromWideBuffer(target);
}

bool Win32Shortcuts::create(const std::string& shortcutPath, const platform::ShortcutDetails& details) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.receive())))
        return false;
    link->SetPath(toWide(details.target).c_str());
    link->SetArguments(toWide(details.arguments).c_str());
    link->SetWorkingDirectory(toWide(details.workingDirectory).c_str());
    link->SetDescription(toWide(details.description).c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) return false;
    return SUCCEEDED(file->Save(toWide(shortcutPath).c_str(), TRUE));
}

} // namespace tidemark::win32
