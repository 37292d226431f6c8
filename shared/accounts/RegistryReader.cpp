#include "shared/accounts/RegistryReader.h"

namespace tidemark {
namespace {
constexpr std::size_t kBufferSize = 1024;
constexpr std::uint32_t kMaxSubKeys = 1u << 20;   // no registry key has more; stops a runaway loop
} // namespace

std::optional<std::vector<std::string>> RegistryReader::subKeyNames(platform::RegistryKey& key) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0; index < kMaxSubKeys; ++index) {
        const platform::SubKeyEnumResult r = key.enumSubKey(index);
        if (r.status == platform::regstatus::NoMoreItems) break;
        if (r.status == platform::regstatus::Success) {
            names.push_back(r.name.size() < kBufferSize ? r.name : r.name.substr(0, kBufferSize - 1));
        } else if (r.status != platform::regstatus::MoreData) {
            return std::nullopt;
        }
        platform_.clock.sleepMs(1);
    }
    return names;
}

std::unique_ptr<platform::RegistryKey> RegistryReader::open(platform::RegistryRoot root, const std::string& keyName) {
    return platform_.registry.openKey(root, keyName);
}

std::optional<RegistryText> RegistryReader::value(platform::RegistryKey& key, const std::string& valueName) {
    const auto value = key.queryValue(valueName);
    if (!value || value->data.size() > kBufferSize) return std::nullopt;
    return RegistryText{value->data.substr(0, value->data.find('\0')), value->data};
}

} // namespace tidemark
