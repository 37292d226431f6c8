// Registry reads as the profile scan makes them.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark {

// A value's data up to its first NUL, and the raw data (numbers are read
// from it by position).
struct RegistryText {
    std::string text;
    std::string raw;
};

class RegistryReader {
public:
    explicit RegistryReader(platform::Platform& platform) : platform_(platform) {}

    // Subkey names of an open key, index 0 upward, 1 ms pause after each.
    // 259 ends the list; -1 or any other error ends it as a failure
    // (nullopt) rather than retrying the same index for ever; a name too
    // long for the 1024-character buffer is cut to fit.
    std::optional<std::vector<std::string>> subKeyNames(platform::RegistryKey& key);
    // nullptr when the key does not open.
    std::unique_ptr<platform::RegistryKey> open(platform::RegistryRoot root, const std::string& keyName);
    // nullopt when the value cannot be read or is larger than the buffer.
    std::optional<RegistryText> value(platform::RegistryKey& key, const std::string& valueName);

private:
    platform::Platform& platform_;
};

} // namespace tidemark
