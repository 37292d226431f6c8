#include "TestSupport.h"

#include "platform/win32/Win32Text.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace tidemark::win32::test {
namespace {

std::atomic<unsigned> scratchCounter{0};

} // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0) throw std::runtime_error("GetTempPathW failed");
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    const std::wstring folder = base + L"\\tm-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++scratchCounter);
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("CreateDirectoryW failed");
    path_ = fromWide(folder);
}

ScratchFolder::~ScratchFolder() {
    const std::wstring folder = toWide(path_);
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(full.c_str());
            } else {
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(folder.c_str());
}

std::vector<std::string> ScratchFolder::fileNames() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((toWide(path_) + L"\\*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        names.push_back(fromWide(name));
    } while (::FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

void writeFileDirectly(const std::string& path, const std::string& bytes) {
    UniqueKernelHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readFileDirectly(const std::string& path) {
    UniqueKernelHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot open " + path);
    std::string out;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) out.append(chunk, got);
    return out;
}

std::string programFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring text(path, length);
    const auto slash = text.find_last_of(L"\\/");
    if (slash != std::wstring::npos) text.resize(slash);
    return fromWide(text);
}

std::vector<AllowedEntry> allowedEntries(const ACL* acl) {
    std::vector<AllowedEntry> out;
    if (acl == nullptr) return out;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(const_cast<ACL*>(acl), i, &ace)) continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        LocalPtr<wchar_t> sid;
        if (!::ConvertSidToStringSidW(&allowed->SidStart, sid.receive())) continue;
        out.push_back(AllowedEntry{fromWideBuffer(sid.get()), allowed->Mask, header->AceFlags});
    }
    return out;
}

std::vector<AllowedEntry> fileAllowedEntries(const std::string& path, bool* readOk) {
    PACL dacl = nullptr;
    LocalPtr<void> descriptor;
    const DWORD status = ::GetNamedSecurityInfoW(toWide(path).c_str(), SE_FILE_OBJECT,
                                                 DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                                 nullptr, descriptor.receive());
    if (readOk) *readOk = status == ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return {};
    return allowedEntries(dacl);
}

bool runningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace tidemark::win32::test
