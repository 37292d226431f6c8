#include "shared/accounts/OpenReg.h"

namespace tidemark {
namespace {
constexpr std::size_t kBufferSize = 1024;
constexpr std::uint32_t kMaxSubKeys = 1u << 20;   // no registry key has more; stops a runaway loop
} // namespace

std::vector<std::string> OpenReg::OpenEnumRegKeyTask(platform::RegistryKey& key, long& lngNumberOfStrings,
                                                     bool& bolSuccessFlag) {
    std::vector<std::string> names;
    bolSuccessFlag = true;
    for (std::uint32_t index = 0; index < kMaxSubKeys; ++index) {
        const platform::SubKeyEnumResult r = key.enumSubKey(index);
        if (r.status == platform::regstatus::NoMoreItems) break;
        if (r.status == platform::regstatus::Success) {
            names.push_back(r.name.size() < kBufferSize ? r.name : r.name.substr(0, kBufferSize - 1));
        } else if (r.status != platform::regstatus::MoreData) {
            names.clear();
            bolSuccessFlag = false;
            break;
        }
        platform_.clock.sleepMs(1);
    }
    lngNumberOfStrings = static_cast<long>(names.size());
    return names;
}

std::unique_ptr<platform::RegistryKey> OpenReg::OpenRegTask(platform::RegistryRoot root,
                                                            const std::string& strRegKeyName, bool& bolSuccessFlag) {
    auto key = platform_.registry.openKey(root, strRegKeyName);
    bolSuccessFlag = key != nullptr;
    return key;
}

bool OpenReg::OpenRegValueTask(platform::RegistryKey& key, const std::string& strValueName, std::string& strKeyValue,
                               std::string& strOnValue) {
    strKeyValue.clear();
    strOnValue.clear();
    const auto value = key.queryValue(strValueName);
    if (!value || value->data.size() > kBufferSize) return false;
    strOnValue = value->data;
    strKeyValue = value->data.substr(0, value->data.find('\0'));
    return true;
}

} // namespace tidemark
