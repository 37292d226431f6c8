// The simulated machine's disk: one in-memory tree of folders and files that
// every simulated process sees, with case-insensitive Windows paths.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>
#include "platform/FileSystem.h"
#include "platform/Locks.h"

namespace tidemark::sim {

class SimFileSystem final : public platform::FileSystem {
public:
    SimFileSystem();

    platform::FileReadResult readAll(const std::string& path) override;
    std::uint32_t replaceContents(const std::string& path, std::string_view bytes) override;
    std::uint32_t rewriteInPlace(const std::string& path, std::string_view bytes) override;
    std::string canonicalPath(const std::string& path) override;
    std::string absolutePath(const std::string& path) override;
    // What relative paths are taken against.
    std::string currentFolder = "C:\\";
    std::uint32_t createDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    int deleteMatching(const std::string& folder, const std::string& pattern) override;
    std::optional<std::string> folderIdentity(const std::string& folder) override;

    // Test set-up and inspection.
    void makeDirectories(const std::string& path);
    void putFile(const std::string& path, std::string_view bytes);   // creates the folders
    std::string contents(const std::string& path) const;              // "" when missing
    std::vector<std::string> filesIn(const std::string& folder) const;
    // Writes to this file (or anything below this folder) fail with access denied.
    void denyWrites(const std::string& path) { denied_.insert(keyOf(path)); }
    void allowWrites(const std::string& path) { denied_.erase(keyOf(path)); }
    // Reads of this file fail with a sharing violation, as while another
    // process holds it open without sharing (a backup, a scanner, an editor).
    void denyReads(const std::string& path) { unreadable_.insert(keyOf(path)); }
    void allowReads(const std::string& path) { unreadable_.erase(keyOf(path)); }
    // The folder admits no new entry (no new file, no rename into it), while
    // its existing files stay writable: a program folder that standard
    // users may not add to.
    void denyNewEntriesIn(const std::string& folder) { closedFolders_.insert(keyOf(folder)); }
    void allowNewEntriesIn(const std::string& folder) { closedFolders_.erase(keyOf(folder)); }
    // An 8.3 short name of a folder or file ("PROGRA~1", "TIDEMA~1.INI"):
    // given at any level of a path, in any mix with long names, it reaches
    // the same entry. The two paths differ in their last part only.
    void addShortName(const std::string& shortPath, const std::string& longPath);
    // A second way to reach a folder, as a drive letter given to it is
    // (SUBST, a mapped share, Wine's Z:) or a junction: every path below
    // the alias reaches the folder's files. Its canonical path keeps the
    // alias's spelling, as the system's does.
    void addAlias(const std::string& aliasFolder, const std::string& folder) {
        aliases_[keyOf(aliasFolder)] = normalizePathOf(folder);
    }
    // Runs at every file read and write, before it happens: where a test
    // interleaves processes, each file access is a point to switch at.
    std::function<void()> onAccess;
    int writeCount() const { return writes_; }
    int readCount() const { return reads_; }
    int readCountOf(const std::string& path) const {
        const auto it = readsOf_.find(keyOf(path));
        return it == readsOf_.end() ? 0 : it->second;
    }
    // The next write is killed half-way, as its process would be: a
    // replace leaves the target as it was and half a temporary file beside
    // it; a rewrite in place leaves the first half of the new bytes over the
    // old file. The writing call then throws WriterKilled.
    bool killNextWriteHalfway = false;
    struct WriterKilled {};
    // The next N writes fail with a sharing violation, as when another
    // machine's writer holds the file.
    int failingWrites = 0;
    // Asked before every write that the others let through: true makes it
    // fail with a sharing violation (writes failing at random, as lock
    // time-outs do on a busy server).
    std::function<bool()> writeFails;

private:
    struct Node {
        bool directory = false;
        std::string path;
        std::string bytes;
        std::uint64_t index = 0;   // the folder's file index
    };
    Node& add(const std::string& key, bool directory, const std::string& path, std::string_view bytes = {});
    // The map key of the folder or file a path reaches, aliases followed.
    std::string keyOf(const std::string& path) const;
    std::string resolved(const std::string& path) const;
    // Every short name spelled out, level by level; aliases followed or kept.
    std::string longNames(const std::string& path, bool followAliases) const;
    void killIfAsked(const std::string& path, std::string_view bytes, bool inPlace);
    static std::string normalizePathOf(const std::string& path);
    bool writeDenied(const std::string& key) const;
    bool newEntryDenied(const std::string& path) const;
    void accessed() {
        if (onAccess) onAccess();
    }

    std::map<std::string, Node> nodes_;
    std::set<std::string> denied_;
    std::set<std::string> unreadable_;
    std::set<std::string> closedFolders_;
    std::map<std::string, std::string> shortNames_;   // key of the folder and the short name -> the long name
    std::map<std::string, std::string> aliases_;
    std::uint64_t nextIndex_ = 1;
    int writes_ = 0;
    int reads_ = 0;
    std::map<std::string, int> readsOf_;
};

// Named locks of the simulated machine. Where processes run one at a time,
// a lock that is held when another asks means a test drives two writers
// into each other: the waiter times out as it would on Windows. Where a test
// interleaves processes, onContention lets the others run until the lock is
// free; it returns false when nobody else can run (the wait would time out).
class SimLocks final : public platform::Locks {
public:
    std::unique_ptr<platform::LockHold> acquire(const std::string& name, std::uint32_t timeoutMs) override;
    bool isHeld(const std::string& name) const { return held_.count(name) != 0; }
    std::function<bool()> onContention;
    // Runs the steps, in order, the next time a process asks for a lock and
    // before it gets it: the work of other copies that held the lock while
    // this one waited (each takes and releases it itself). It lands between
    // what a writer read and what it writes under the lock.
    void runWhileNextWaits(std::vector<std::function<void()>> steps) { whileWaiting_ = std::move(steps); }

private:
    class Hold;
    std::set<std::string> held_;
    std::vector<std::function<void()>> whileWaiting_;
};

} // namespace tidemark::sim
