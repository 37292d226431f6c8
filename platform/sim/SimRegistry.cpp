#include "platform/sim/SimRegistry.h"

#include <cctype>

namespace tidemark::sim {

using platform::RegistryRoot;
using platform::RegistryValue;

namespace {
std::string fold(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string rootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::LocalMachine: return "hklm";
    case RegistryRoot::Users: return "hku";
    case RegistryRoot::CurrentUser: return "hkcu";
    }
    return "?";
}
std::string trimSlashes(const std::string& p) {
    std::size_t b = 0, e = p.size();
    while (b < e && p[b] == '\\') ++b;
    while (e > b && p[e - 1] == '\\') --e;
    return p.substr(b, e - b);
}
} // namespace

class SimRegistry::Key final : public platform::RegistryKey {
public:
    Key(SimRegistry& reg, std::string key) : reg_(reg), key_(std::move(key)) {}

    platform::SubKeyEnumResult enumSubKey(std::uint32_t index) override {
        const auto fault = reg_.enumFaults_.find(key_);
        if (fault != reg_.enumFaults_.end() && fault->second.first == index) return {fault->second.second, {}};
        const auto it = reg_.nodes_.find(key_);
        if (it == reg_.nodes_.end()) return {platform::regstatus::Failure, {}};
        if (index >= it->second.children.size()) return {platform::regstatus::NoMoreItems, {}};
        return {platform::regstatus::Success, reg_.nodes_[it->second.children[index]].name};
    }

    std::optional<RegistryValue> queryValue(std::string_view name) override {
        const auto it = reg_.nodes_.find(key_);
        if (it == reg_.nodes_.end()) return std::nullopt;
        const auto v = it->second.values.find(fold(std::string(name)));
        if (v == it->second.values.end()) return std::nullopt;
        return v->second;
    }

private:
    SimRegistry& reg_;
    std::string key_;
};

std::string SimRegistry::keyOf(RegistryRoot root, const std::string& path) {
    const std::string p = trimSlashes(path);
    return rootName(root) + (p.empty() ? "" : "\\" + fold(p));
}

SimRegistry::Node& SimRegistry::ensure(RegistryRoot root, const std::string& path) {
    const std::string p = trimSlashes(path);
    std::string parentKey = rootName(root);
    nodes_.try_emplace(parentKey, Node{rootName(root), {}, {}});
    std::size_t start = 0;
    while (start < p.size()) {
        auto pos = p.find('\\', start);
        if (pos == std::string::npos) pos = p.size();
        const std::string part = p.substr(start, pos - start);
        const std::string childKey = parentKey + "\\" + fold(part);
        if (!nodes_.count(childKey)) {
            nodes_.emplace(childKey, Node{part, {}, {}});
            nodes_[parentKey].children.push_back(childKey);
        }
        parentKey = childKey;
        start = pos + 1;
    }
    return nodes_[parentKey];
}

void SimRegistry::createKey(RegistryRoot root, const std::string& path) { ensure(root, path); }

void SimRegistry::setString(RegistryRoot root, const std::string& path, const std::string& name,
                            const std::string& value) {
    RegistryValue v;
    v.type = platform::regtype::String;
    v.data = value;
    v.data += '\0';
    ensure(root, path).values[fold(name)] = v;
}

void SimRegistry::setDword(RegistryRoot root, const std::string& path, const std::string& name,
                           std::uint32_t value) {
    RegistryValue v;
    v.type = platform::regtype::Dword;
    for (int i = 0; i < 4; ++i) v.data += static_cast<char>((value >> (8 * i)) & 0xFF);
    ensure(root, path).values[fold(name)] = v;
}

void SimRegistry::deleteKey(RegistryRoot root, const std::string& path) {
    const std::string key = keyOf(root, path);
    for (auto& [k, n] : nodes_) {
        auto& ch = n.children;
        for (auto it = ch.begin(); it != ch.end();) it = (*it == key) ? ch.erase(it) : it + 1;
    }
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        const bool below = it->first == key ||
                           (it->first.size() > key.size() && it->first.compare(0, key.size(), key) == 0 &&
                            it->first[key.size()] == '\\');
        it = below ? nodes_.erase(it) : std::next(it);
    }
}

void SimRegistry::failEnumeration(RegistryRoot root, const std::string& path, std::uint32_t index, long status) {
    enumFaults_[keyOf(root, path)] = {index, status};
}

std::unique_ptr<platform::RegistryKey> SimRegistry::open(RegistryRoot root, const std::string& path) {
    const std::string key = keyOf(root, path);
    if (!nodes_.count(key)) return nullptr;
    return std::make_unique<Key>(*this, key);
}

} // namespace tidemark::sim
