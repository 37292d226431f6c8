// Fixtures for the Win32 backend tests: scratch folders, direct file access
// that bypasses the backend, SIDs and access lists read straight from the
// system.
#pragma once
#include "platform/win32/Handles.h"
#include "platform/win32/WindowsApi.h"

#include <string>
#include <vector>

namespace tidemark::win32::test {

// A fresh folder under the user's temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    // Names of the files in it, sorted.
    std::vector<std::string> fileNames() const;

private:
    std::string path_;
};

void writeFileDirectly(const std::string& path, const std::string& bytes);
std::string readFileDirectly(const std::string& path);

// The folder this test program runs from, without a trailing backslash.
std::string programFolder();

// Access-allowed entries of a file's or object's access list.
struct AllowedEntry {
    std::string sid;
    DWORD mask = 0;
    BYTE flags = 0;
};
std::vector<AllowedEntry> allowedEntries(const ACL* acl);
// nullopt-free form: an empty list when the file's list cannot be read.
std::vector<AllowedEntry> fileAllowedEntries(const std::string& path, bool* readOk = nullptr);

constexpr char kEveryoneSid[] = "S-1-1-0";

// Wine's ntdll exports its version; Windows' does not.
bool runningUnderWine();

} // namespace tidemark::win32::test
