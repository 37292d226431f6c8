#include "platform/sim/SimFileSystem.h"

#include "platform/sim/SimPaths.h"

namespace tidemark::sim {

using platform::FileReadResult;
namespace fe = platform::fileerror;

SimFileSystem::SimFileSystem() { makeDirectories("C:\\"); }

std::string SimFileSystem::keyOf(const std::string& path) { return pathKey(path); }
std::string SimFileSystem::normalizePathOf(const std::string& path) { return normalizePath(path); }

bool SimFileSystem::newEntryDenied(const std::string& path) const {
    return closedFolders_.count(keyOf(parentFolder(path))) != 0;
}

bool SimFileSystem::writeDenied(const std::string& key) const {
    for (const auto& d : denied_) {
        if (key == d || (key.size() > d.size() && key.compare(0, d.size(), d) == 0 && key[d.size()] == '\\'))
            return true;
    }
    return false;
}

FileReadResult SimFileSystem::readAll(const std::string& path) {
    accessed();
    FileReadResult r;
    ++reads_;
    if (unreadable_.count(keyOf(path))) {
        r.error = fe::SharingViolation;
        return r;
    }
    const auto it = nodes_.find(keyOf(path));
    if (it == nodes_.end() || it->second.directory) {
        r.error = directoryExists(parentFolder(path)) ? fe::FileNotFound : fe::PathNotFound;
        if (it != nodes_.end()) r.error = fe::AccessDenied;
        return r;
    }
    r.ok = true;
    r.bytes = it->second.bytes;
    return r;
}

std::uint32_t SimFileSystem::replaceContents(const std::string& path, std::string_view bytes) {
    accessed();
    const std::string key = keyOf(path);
    if (!directoryExists(parentFolder(path))) return fe::PathNotFound;
    if (failingWrites > 0) {
        --failingWrites;
        return fe::SharingViolation;
    }
    if (writeFails && writeFails()) return fe::SharingViolation;
    // The new contents go to a new file beside the target first.
    if (writeDenied(key) || newEntryDenied(path)) return fe::AccessDenied;
    auto it = nodes_.find(key);
    if (it != nodes_.end() && it->second.directory) return fe::AccessDenied;
    if (it == nodes_.end()) it = nodes_.emplace(key, Node{false, normalizePath(path), {}}).first;
    it->second.bytes.assign(bytes.data(), bytes.size());
    ++writes_;
    return fe::None;
}

std::uint32_t SimFileSystem::rewriteInPlace(const std::string& path, std::string_view bytes) {
    accessed();
    const std::string key = keyOf(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end()) return directoryExists(parentFolder(path)) ? fe::FileNotFound : fe::PathNotFound;
    if (it->second.directory || writeDenied(key)) return fe::AccessDenied;
    it->second.bytes.assign(bytes.data(), bytes.size());
    ++writes_;
    return fe::None;
}

namespace {
// "." and ".." parts resolved; never above the drive.
std::string withoutDotParts(const std::string& p) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= p.size()) {
        const auto end = p.find('\\', start);
        const std::string part = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
    if (parts.size() == 1) out += "\\";
    return out;
}
} // namespace

std::string SimFileSystem::canonicalPath(const std::string& path) {
    std::string p = normalizePath(path);
    // Short names first, longest spelling first.
    for (auto it = shortNames_.rbegin(); it != shortNames_.rend(); ++it) {
        const std::string& shortKey = it->first;
        const std::string key = keyOf(p);
        if (key == shortKey || (key.size() > shortKey.size() && key.compare(0, shortKey.size(), shortKey) == 0 &&
                                key[shortKey.size()] == '\\')) {
            p = it->second + p.substr(shortKey.size());
            break;
        }
    }
    return withoutDotParts(p);
}

std::string SimFileSystem::absolutePath(const std::string& path) {
    const bool full = (path.size() >= 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
    std::string p = path;
    if (!full) {
        std::string base = currentFolder;
        if (!base.empty() && base.back() != '\\') base += '\\';
        // A path from the root lies on the current folder's drive.
        p = (!path.empty() && (path[0] == '\\' || path[0] == '/')) ? base.substr(0, 2) + path : base + path;
    }
    return withoutDotParts(normalizePath(p));
}

std::uint32_t SimFileSystem::createDirectory(const std::string& path) {
    const std::string key = keyOf(path);
    if (nodes_.count(key)) return fe::AlreadyExists;
    if (!directoryExists(parentFolder(path))) return fe::PathNotFound;
    if (writeDenied(key) || newEntryDenied(path)) return fe::AccessDenied;
    nodes_.emplace(key, Node{true, normalizePath(path), {}});
    return fe::None;
}

bool SimFileSystem::fileExists(const std::string& path) {
    const auto it = nodes_.find(keyOf(path));
    return it != nodes_.end() && !it->second.directory;
}

bool SimFileSystem::directoryExists(const std::string& path) {
    const auto it = nodes_.find(keyOf(path));
    return it != nodes_.end() && it->second.directory;
}

bool SimFileSystem::deleteFile(const std::string& path) {
    const std::string key = keyOf(path);
    const auto it = nodes_.find(key);
    if (it == nodes_.end() || it->second.directory || writeDenied(key) || newEntryDenied(path)) return false;
    nodes_.erase(it);
    return true;
}

int SimFileSystem::deleteMatching(const std::string& folder, const std::string& pattern) {
    int deleted = 0;
    for (const auto& f : filesIn(folder)) {
        if (wildcardMatch(pattern, fileNamePart(f)) && deleteFile(f)) ++deleted;
    }
    return deleted;
}

void SimFileSystem::makeDirectories(const std::string& path) {
    const std::string p = normalizePath(path);
    std::string prefix;
    std::size_t start = 0;
    while (start <= p.size()) {
        const auto pos = p.find('\\', start);
        prefix = p.substr(0, pos == std::string::npos ? p.size() : pos);
        std::string node = prefix;
        if (node.size() == 2 && node[1] == ':') node += '\\';
        const std::string key = keyOf(node);
        if (!nodes_.count(key)) nodes_.emplace(key, Node{true, node, {}});
        if (pos == std::string::npos) break;
        start = pos + 1;
        if (start == p.size()) break;
    }
}

void SimFileSystem::putFile(const std::string& path, std::string_view bytes) {
    makeDirectories(parentFolder(path));
    nodes_[keyOf(path)] = Node{false, normalizePath(path), std::string(bytes)};
}

std::string SimFileSystem::contents(const std::string& path) const {
    const auto it = nodes_.find(keyOf(path));
    return (it == nodes_.end() || it->second.directory) ? std::string() : it->second.bytes;
}

std::vector<std::string> SimFileSystem::filesIn(const std::string& folder) const {
    std::vector<std::string> out;
    const std::string key = keyOf(folder);
    for (const auto& [k, n] : nodes_) {
        if (!n.directory && keyOf(parentFolder(n.path)) == key) out.push_back(n.path);
    }
    return out;
}

class SimLocks::Hold final : public platform::LockHold {
public:
    Hold(std::set<std::string>& held, std::string name) : held_(held), name_(std::move(name)) {}
    ~Hold() override { held_.erase(name_); }

private:
    std::set<std::string>& held_;
    std::string name_;
};

std::unique_ptr<platform::LockHold> SimLocks::acquire(const std::string& name, std::uint32_t) {
    while (!held_.insert(name).second) {
        if (!onContention || !onContention()) return nullptr;
    }
    return std::make_unique<Hold>(held_, name);
}

} // namespace tidemark::sim
