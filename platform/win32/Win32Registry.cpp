// Registry backend: opening keys for reading, subkey enumeration, raw values.
#include "platform/win32/Win32Registry.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <cstring>
#include <vector>

namespace tidemark::win32 {
namespace {

HKEY rootKey(platform::RegistryRoot root) {
    switch (root) {
    case platform::RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::Users: return HKEY_USERS;
    case platform::RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    }
    return nullptr;
}

// Registry strings may be stored with, without, or with several trailing
// NULs; callers always get the text up to the first NUL and then one NUL.
std::string stringData(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    const auto end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    std::string out = fromWide(text);
    out.push_back('\0');
    return out;
}

class Win32RegistryKey final : public platform::RegistryKey {
public:
    explicit Win32RegistryKey(UniqueRegKey key) : key_(std::move(key)) {}

    platform::SubKeyEnumResult enumSubKey(std::uint32_t index) override {
        wchar_t name[1024] = {};
        DWORD length = 1024;
        const LONG status = ::RegEnumKeyExW(key_.get(), index, name, &length, nullptr, nullptr,
                                            nullptr, nullptr);
        platform::SubKeyEnumResult result;
        result.status = status;
        if (status == ERROR_SUCCESS) result.name = fromWide(std::wstring_view(name, length));
        return result;
    }

    std::optional<platform::RegistryValue> queryValue(std::string_view name) override {
        const std::wstring valueName = toWide(name);
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;

        std::vector<BYTE> bytes;
        // The value can grow between the size query and the read; ask again
        // a few times rather than fail on a busy key.
        for (int attempt = 0; attempt < 8; ++attempt) {
            bytes.assign(size > 0 ? size : 1, 0);
            DWORD got = static_cast<DWORD>(bytes.size());
            status = ::RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, bytes.data(), &got);
            if (status == ERROR_SUCCESS) {
                bytes.resize(got);
                break;
            }
            if (status != ERROR_MORE_DATA) return std::nullopt;
            size = got;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;

        platform::RegistryValue value;
        value.type = type;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            value.data = stringData(bytes);
        } else {
            value.data.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        return value;
    }

private:
    UniqueRegKey key_;
};

} // namespace

std::unique_ptr<platform::RegistryKey> Win32Registry::openKey(platform::RegistryRoot root,
                                                              std::string_view path) {
    const HKEY parent = rootKey(root);
    if (parent == nullptr) return nullptr;
    const std::wstring subKey = toWide(path);
    UniqueRegKey key;
    if (::RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

} // namespace tidemark::win32
