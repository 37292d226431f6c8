// Read-only registry access: open a key, enumerate subkeys, read raw values.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tidemark::platform {

enum class RegistryRoot { LocalMachine, Users, CurrentUser };

namespace regtype {
inline constexpr std::uint32_t String = 1;
inline constexpr std::uint32_t ExpandString = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
} // namespace regtype

namespace regstatus {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long MoreData = 234;
inline constexpr long NoMoreItems = 259;
inline constexpr long Failure = -1;
} // namespace regstatus

// Raw value data. String values hold UTF-8 text followed by one NUL;
// a DWORD holds its four bytes, low-order byte first.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;
};

struct SubKeyEnumResult {
    long status = regstatus::Success;
    std::string name;
};

class RegistryKey {
public:
    virtual ~RegistryKey() = default;   // closes the key
    virtual SubKeyEnumResult enumSubKey(std::uint32_t index) = 0;
    virtual std::optional<RegistryValue> queryValue(std::string_view name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens for reading; nullptr when the key cannot be opened.
    virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, std::string_view path) = 0;
};

} // namespace tidemark::platform
