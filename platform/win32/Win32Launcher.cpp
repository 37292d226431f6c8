// Launcher backend: ShellExecuteW, its result passed back untouched.
#include "platform/win32/Win32Launcher.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {
namespace {

// Empty means "not given": the shell then uses the default verb, no
// parameters and the current folder.
const wchar_t* optionalText(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

std::intptr_t Win32Launcher::shellExecute(platform::NativeWindow owner, const std::string& verb,
                                          const std::string& file, const std::string& parameters,
                                          const std::string& directory, int showCommand) {
    const std::wstring wideVerb = toWide(verb);
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParameters = toWide(parameters);
    const std::wstring wideDirectory = toWide(directory);
    const HINSTANCE result =
        ::ShellExecuteW(reinterpret_cast<HWND>(owner), optionalText(wideVerb), wideFile.c_str(),
                        optionalText(wideParameters), optionalText(wideDirectory), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

} // namespace tidemark::win32
