// The simulated machine's registry: a tree of keys holding typed values,
// with subkeys enumerated in the order they were created.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "platform/Registry.h"

namespace tidemark::sim {

class SimRegistry {
public:
    struct Node {
        std::string name;
        std::vector<std::string> children;          // keys of child nodes, creation order
        std::map<std::string, platform::RegistryValue> values;   // by folded value name
    };

    // Creates the key and its parents. Paths use backslashes.
    void createKey(platform::RegistryRoot root, const std::string& path);
    void setString(platform::RegistryRoot root, const std::string& path, const std::string& name,
                   const std::string& value);
    void setDword(platform::RegistryRoot root, const std::string& path, const std::string& name,
                  std::uint32_t value);
    void deleteKey(platform::RegistryRoot root, const std::string& path);
    // Enumeration of this key fails with the given status at the given index.
    void failEnumeration(platform::RegistryRoot root, const std::string& path, std::uint32_t index, long status);

    // nullptr when missing; root CurrentUser is resolved by the caller.
    std::unique_ptr<platform::RegistryKey> open(platform::RegistryRoot root, const std::string& path);

private:
    class Key;
    static std::string keyOf(platform::RegistryRoot root, const std::string& path);
    Node& ensure(platform::RegistryRoot root, const std::string& path);

    std::map<std::string, Node> nodes_;
    std::map<std::string, std::pair<std::uint32_t, long>> enumFaults_;
};

} // namespace tidemark::sim
