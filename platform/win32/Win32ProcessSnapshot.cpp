// Process-snapshot backend: Tool Help's process list, executable names only.
#include "platform/win32/Win32ProcessSnapshot.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<std::vector<std::string>> Win32ProcessSnapshot::processNames() {
    UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return std::nullopt;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!::Process32FirstW(snapshot.get(), &entry)) return std::nullopt;
    std::vector<std::string> names;
    do {
        entry.szExeFile[MAX_PATH - 1] = L'\0';
        names.push_back(fromWideBuffer(entry.szExeFile));
        entry.dwSize = sizeof entry;
    } while (::Process32NextW(snapshot.get(), &entry));
    return names;
}

} // namespace tidemark::win32
