// File-system backend: file and folder calls only; no path logic beyond joining a folder and a name.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tidemark::win32 {
namespace {

std::atomic<unsigned long> temporaryCounter{0};

// Beside the target, so the final rename never crosses volumes; unique per
// process and per call so concurrent writers never share one.
std::wstring temporaryNameBeside(const std::wstring& target) {
    return target + L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++temporaryCounter) + L".tmp";
}

bool sameCharIgnoringCase(wchar_t a, wchar_t b) {
    return a == b || ::CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

// '*' and '?' against a long file name. The system's own search also
// matches short 8.3 names ("*.tmp" finds "a.tmpx"), which callers never mean.
bool wildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::wstring_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || (pattern[p] != L'*' && sameCharIgnoringCase(pattern[p], name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            mark = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

// The access list a new temporary file got from its folder, read through
// its handle (cheaper than by name).
struct TemporaryAccess {
    LocalPtr<void> descriptor;
    PACL dacl = nullptr;   // points into descriptor
    SECURITY_DESCRIPTOR_CONTROL control = 0;

    void readFrom(HANDLE file) {
        DWORD revision = 0;
        if (::GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              descriptor.receive()) != ERROR_SUCCESS ||
            !::GetSecurityDescriptorControl(descriptor.get(), &control, &revision))
            dacl = nullptr;
    }
    bool sameAs(PACL other, SECURITY_DESCRIPTOR_CONTROL otherControl) const {
        if (!dacl || !other) return false;
        if ((control & SE_DACL_PROTECTED) != (otherControl & SE_DACL_PROTECTED)) return false;
        return dacl->AclSize == other->AclSize && std::memcmp(dacl, other, dacl->AclSize) == 0;
    }
};

DWORD writeAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return ::GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
    }
    return ERROR_SUCCESS;
}

// The new contents replace the target by a rename, so the temporary file
// takes the target's attributes and access list beforehand (the Everyone
// entry that opens the shared settings file to every account must survive).
// The access list is written only where the one the temporary file got from
// its folder differs.
void carryOverAttributesAndAccess(const std::wstring& target, DWORD targetAttributes, HANDLE temporary,
                                  const TemporaryAccess& temporaryAccess) {
    const DWORD carried = targetAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (carried != 0) {
        FILE_BASIC_INFO basic{};   // times of 0 stay as they are
        basic.FileAttributes = carried;
        ::SetFileInformationByHandle(temporary, FileBasicInfo, &basic, sizeof basic);
    }

    PACL dacl = nullptr;   // points into descriptor
    LocalPtr<void> descriptor;
    if (::GetNamedSecurityInfoW(target.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &dacl, nullptr, descriptor.receive()) != ERROR_SUCCESS) {
        return;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!::GetSecurityDescriptorControl(descriptor.get(), &control, &revision)) return;
    if (temporaryAccess.sameAs(dacl, control)) return;
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    ::SetSecurityInfo(temporary, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
}

// Renames the open file over the target in one step (through its handle:
// no second opening by name).
DWORD renameOver(HANDLE file, const std::wstring& target) {
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.data(), target.size() * sizeof(wchar_t));
    return ::SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))
               ? ERROR_SUCCESS
               : ::GetLastError();
}

// Asks a path-returning call with a growing buffer. The calls return the
// length without the NUL when it fits, else the size needed.
template <class Call>
std::wstring askPath(Call call) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int round = 0; round < 4; ++round) {
        const DWORD n = call(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.assign(n + 1, L'\0');
    }
    return {};
}

std::wstring longPathOf(const std::wstring& full) {
    return askPath([&](wchar_t* out, DWORD size) { return ::GetLongPathNameW(full.c_str(), out, size); });
}

} // namespace

platform::FileReadResult Win32FileSystem::readAll(const std::string& path) {
    platform::FileReadResult result;
    const std::wstring widePath = toWide(path);
    UniqueKernelHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        result.error = ::GetLastError();
        return result;
    }
    LARGE_INTEGER size{};
    std::size_t room = 64 * 1024;
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 40))
        room = static_cast<std::size_t>(size.QuadPart) + 1;
    // Read to the end rather than to the size seen at open: a writer that
    // shares the file may still be extending it. A read that returns less
    // than asked has met the end.
    std::size_t have = 0;
    for (;;) {
        if (result.bytes.size() - have < 4096) result.bytes.resize(std::max(room, have * 2));
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(result.bytes.size() - have, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.get(), &result.bytes[have], asked, &got, nullptr)) {
            result.error = ::GetLastError();
            result.bytes.clear();
            return result;
        }
        have += got;
        if (got < asked) break;
    }
    result.bytes.resize(have);
    result.ok = true;
    return result;
}

std::uint32_t Win32FileSystem::replaceContents(const std::string& path, std::string_view bytes) {
    const std::wstring target = toWide(path);
    std::wstring temporary;
    UniqueKernelHandle file;
    // A crashed writer of an earlier process with the same id may have left
    // a name behind; step past it.
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = temporaryNameBeside(target);
        file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE | READ_CONTROL | WRITE_DAC | DELETE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_PATH_NOT_FOUND) forgetFolderIdentities();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
        }
    }
    if (!file) return ERROR_FILE_EXISTS;

    // A rename replaces the file whole, so a reader or a writer killed at
    // any point sees the old file or the new one. After a power cut NTFS may
    // keep the rename (its log) without the data written before it, which
    // would leave a zero-filled settings file: the data reaches the disk
    // first. The rename itself is not flushed: losing it loses only this
    // write.
    DWORD error = writeAll(file.get(), bytes);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    if (error == ERROR_SUCCESS) error = commitTemporary(file.get(), target);
    file.reset();
    if (error != ERROR_SUCCESS) ::DeleteFileW(temporary.c_str());
    return error;
}

std::uint32_t Win32FileSystem::commitTemporary(HANDLE temporary, const std::wstring& target) {
    TemporaryAccess access;
    access.readFrom(temporary);
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        if (attempt > 0) clock_.sleepMs(kReplaceRetryMs);

        const DWORD targetAttributes = ::GetFileAttributesW(target.c_str());
        if (targetAttributes != INVALID_FILE_ATTRIBUTES) {
            // Replacing a read-only file is refused every time; no use waiting.
            if ((targetAttributes & FILE_ATTRIBUTE_READONLY) != 0) return ERROR_ACCESS_DENIED;
            // The new file takes the target's attributes and access list
            // first, as ReplaceFileW would.
            carryOverAttributesAndAccess(target, targetAttributes, temporary, access);
        }
        // One rename over the target: readers see the old file or the new
        // one, and a writer killed at any point leaves one of the two in
        // place. (ReplaceFileW is not one step under Wine: killed between
        // its moves it left no settings file at all.) While someone holds
        // the target open without sharing deletion the rename is refused:
        // wait and try again.
        error = renameOver(temporary, target);
        if (error == ERROR_SUCCESS) return error;
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_FILE_NOT_FOUND ||
            error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            continue;
        return error;
    }
    return error;
}

std::uint32_t Win32FileSystem::rewriteInPlace(const std::string& path, std::string_view bytes) {
    const std::wstring target = toWide(path);
    // No sharing while the contents change: a reader that meets the file
    // then is refused and reads again after the writer's lock is released,
    // instead of seeing half a file.
    UniqueKernelHandle file;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kReplaceAttempts && !file; ++attempt) {
        if (attempt > 0) clock_.sleepMs(kReplaceRetryMs);
        file.reset(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        if (!file) {
            error = ::GetLastError();
            if (error != ERROR_SHARING_VIOLATION) return error;
        }
    }
    if (!file) return error;
    error = writeAll(file.get(), bytes);
    if (error == ERROR_SUCCESS && !::SetEndOfFile(file.get())) error = ::GetLastError();
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    return error;
}

std::string Win32FileSystem::canonicalPath(const std::string& path) {
    const std::wstring given = toWide(path);
    const std::wstring full = askPath(
        [&](wchar_t* out, DWORD size) { return ::GetFullPathNameW(given.c_str(), size, out, nullptr); });
    if (full.empty()) return path;
    std::wstring resolved = longPathOf(full);
    if (resolved.empty()) {
        // The file does not exist yet: its folder's long name and the name.
        const auto slash = full.find_last_of(L"\\/");
        if (slash != std::wstring::npos && slash + 1 < full.size()) {
            std::wstring folder = longPathOf(full.substr(0, slash + 1));
            if (!folder.empty()) {
                if (folder.back() != L'\\') folder += L'\\';
                resolved = folder + full.substr(slash + 1);
            }
        }
    }
    return fromWide(resolved.empty() ? full : resolved);
}

std::string Win32FileSystem::absolutePath(const std::string& path) {
    const std::wstring given = toWide(path);
    const std::wstring full = askPath(
        [&](wchar_t* out, DWORD size) { return ::GetFullPathNameW(given.c_str(), size, out, nullptr); });
    return full.empty() ? path : fromWide(full);
}

std::uint32_t Win32FileSystem::createDirectory(const std::string& path) {
    const std::wstring widePath = toWide(path);
    return ::CreateDirectoryW(widePath.c_str(), nullptr) ? ERROR_SUCCESS : ::GetLastError();
}

bool Win32FileSystem::fileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::uint64_t> Win32FileSystem::fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32FileSystem::directoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::deleteFile(const std::string& path) {
    return ::DeleteFileW(toWide(path).c_str()) != FALSE;
}

int Win32FileSystem::deleteMatching(const std::string& folder, const std::string& pattern) {
    std::wstring prefix = toWide(folder);
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    const std::wstring widePattern = toWide(pattern);

    // Names first, deletions after: the search is not disturbed by its own
    // removals.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((prefix + widePattern).c_str(), &data));
    if (!find) return 0;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (!wildcardMatch(widePattern, data.cFileName)) continue;
        names.emplace_back(data.cFileName);
    } while (::FindNextFileW(find.get(), &data));
    find.reset();

    int deleted = 0;
    for (const auto& name : names) {
        if (::DeleteFileW((prefix + name).c_str())) ++deleted;
    }
    return deleted;
}

void Win32FileSystem::forgetFolderIdentities() {
    const std::lock_guard<std::mutex> guard(identitiesGuard_);
    identities_.clear();
}

std::optional<std::string> Win32FileSystem::folderIdentity(const std::string& folder) {
    // Asking the volume for its serial number is slow: each spelling is
    // asked once (and again after a write found its folder gone).
    {
        const std::lock_guard<std::mutex> guard(identitiesGuard_);
        const auto known = identities_.find(folder);
        if (known != identities_.end()) return known->second;
    }
    // Opening a folder needs backup semantics; reading its attributes needs
    // no other right.
    UniqueKernelHandle handle(::CreateFileW(toWide(folder).c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return std::nullopt;
    char text[40];
    std::snprintf(text, sizeof text, "%08lx-%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    const std::lock_guard<std::mutex> guard(identitiesGuard_);
    identities_[folder] = text;
    return std::string(text);
}

} // namespace tidemark::win32
