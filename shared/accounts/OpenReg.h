// Registry reads as the profile scan makes them.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark {

class OpenReg {
public:
    explicit OpenReg(platform::Platform& platform) : platform_(platform) {}

    // Subkey names of an open key, index 0 upward, 1 ms pause after each.
    // 259 ends the list; -1 or any other error ends it as a failure (count 0,
    // bolSuccessFlag false) rather than retrying the same index for ever; a
    // name too long for the 1024-character buffer is passed over.
    std::vector<std::string> OpenEnumRegKeyTask(platform::RegistryKey& key, long& lngNumberOfStrings,
                                                bool& bolSuccessFlag);
    // nullptr (and bolSuccessFlag false) when the key does not open.
    std::unique_ptr<platform::RegistryKey> OpenRegTask(platform::RegistryRoot root, const std::string& strRegKeyName,
                                                       bool& bolSuccessFlag);
    // strKeyValue: the data up to the first NUL; strOnValue: the raw data
    // (numbers are read from it by position). Both empty and false on failure.
    bool OpenRegValueTask(platform::RegistryKey& key, const std::string& strValueName, std::string& strKeyValue,
                          std::string& strOnValue);

private:
    platform::Platform& platform_;
};

} // namespace tidemark
