#include "platform/sim/SimFileSystem.h"

#include "platform/sim/SimPaths.h"

#include <algorithm>
#include <utility>

namespace tidemark::sim {

using platform::FileReadResult;
namespace fe = platform::fileerror;

SimFileSystem::SimFileSystem() { makeDirectories("C:\\"); }

namespace {
// The path with the first matching folder of `spellings` (map key -> the
// folder it reaches) put in its place; longest spelling first.
std::string followed(const std::map<std::string, std::string>& spellings, const std::string& p) {
    const std::string key = pathKey(p);
    for (auto it = spellings.rbegin(); it != spellings.rend(); ++it) {
        const std::string& from = it->first;
        const bool below = key.size() > from.size() && key.compare(0, from.size(), from) == 0 &&
                           (key[from.size()] == '\\' || from.back() == '\\');
        if (key != from && !below) continue;
        std::string rest = p.substr(from.size());
        if (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
        const std::string& target = it->second;
        if (rest.empty()) return target;
        return target.back() == '\\' ? target + rest : target + "\\" + rest;
    }
    return p;
}
} // namespace

namespace {
std::string joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}
} // namespace

std::string SimFileSystem::longNames(const std::string& path, bool followAliases) const {
    const std::string p = normalizePath(path);
    std::string spelled;   // long names, aliases as given
    std::string real;      // long names, aliases followed
    std::size_t start = 0;
    for (bool first = true; start <= p.size(); first = false) {
        const auto end = p.find('\\', start);
        std::string part = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (first) {
            spelled = part;
        } else if (!part.empty()) {
            const auto it = shortNames_.find(pathKey(joined(real, part)));
            if (it != shortNames_.end()) part = it->second;
            spelled = joined(spelled, part);
        }
        real = followed(aliases_, spelled);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return normalizePath(followAliases ? real : spelled);
}

std::string SimFileSystem::resolved(const std::string& path) const { return longNames(path, true); }

void SimFileSystem::addShortName(const std::string& shortPath, const std::string& longPath) {
    const std::string folder = resolved(parentFolder(longPath));
    shortNames_[pathKey(joined(folder, fileNamePart(shortPath)))] = fileNamePart(longPath);
}

void SimFileSystem::killIfAsked(const std::string& path, std::string_view bytes, bool inPlace) {
    if (!killNextWriteHalfway) return;
    killNextWriteHalfway = false;
    const std::string_view half = bytes.substr(0, bytes.size() / 2);
    if (inPlace) {
        std::string& old = nodes_[keyOf(path)].bytes;
        old.replace(0, std::min(half.size(), old.size()), half);
    } else {
        const std::string temporary = normalizePath(path) + ".~sim" + std::to_string(nextIndex_) + ".tmp";
        add(keyOf(temporary), false, temporary, half);
    }
    throw WriterKilled{};
}

std::string SimFileSystem::keyOf(const std::string& path) const { return pathKey(resolved(path)); }

SimFileSystem::Node& SimFileSystem::add(const std::string& key, bool directory, const std::string& path,
                                        std::string_view bytes) {
    Node& node = nodes_[key];
    node = Node{directory, normalizePath(resolved(path)), std::string(bytes), nextIndex_++};
    return node;
}
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
    ++readsOf_[keyOf(path)];
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
    killIfAsked(path, bytes, false);
    if (it == nodes_.end()) {
        add(key, false, path);
        it = nodes_.find(key);
    }
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
    killIfAsked(path, bytes, true);
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
    return withoutDotParts(longNames(path, false));
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
    add(key, true, path);
    return fe::None;
}

bool SimFileSystem::fileExists(const std::string& path) {
    const auto it = nodes_.find(keyOf(path));
    return it != nodes_.end() && !it->second.directory;
}

std::optional<std::uint64_t> SimFileSystem::fileSize(const std::string& path) {
    const auto it = nodes_.find(keyOf(path));
    if (it == nodes_.end() || it->second.directory) return std::nullopt;
    return it->second.bytes.size();
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
        if (!nodes_.count(key)) add(key, true, node);
        if (pos == std::string::npos) break;
        start = pos + 1;
        if (start == p.size()) break;
    }
}

void SimFileSystem::putFile(const std::string& path, std::string_view bytes) {
    makeDirectories(parentFolder(path));
    add(keyOf(path), false, path, bytes);
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

std::optional<std::string> SimFileSystem::folderIdentity(const std::string& folder) {
    const auto it = nodes_.find(keyOf(folder));
    if (it == nodes_.end() || !it->second.directory) return std::nullopt;
    // One volume per drive letter of the folder the path reaches.
    const std::string& path = it->second.path;
    const unsigned serial = path.size() >= 2 && path[1] == ':' ? 0x1000u + static_cast<unsigned char>(path[0] | 0x20) : 0u;
    return std::to_string(serial) + "-" + std::to_string(it->second.index);
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
    for (auto& step : std::exchange(whileWaiting_, {})) step();
    while (!held_.insert(name).second) {
        if (!onContention || !onContention()) return nullptr;
    }
    return std::make_unique<Hold>(held_, name);
}

} // namespace tidemark::sim
