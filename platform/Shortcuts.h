// Shell shortcuts (.lnk files).
#pragma once
#include <optional>
#include <string>

namespace tidemark::platform {

struct ShortcutDetails {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string description;
};

// What a shortcut operation came to; on failure, the system's own text of
// the error.
struct ShortcutResult {
    bool ok = false;
    std::string error;
    explicit operator bool() const { return ok; }
};

class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    // The path a shortcut points to; nullopt when it cannot be opened.
    virtual std::optional<std::string> targetPath(const std::string& shortcutPath) = 0;
    // Target, arguments, working folder and description of a shortcut;
    // nullopt when it cannot be opened.
    virtual std::optional<ShortcutDetails> details(const std::string& shortcutPath) = 0;
    // Creates the shortcut file, replacing one that is there.
    virtual ShortcutResult create(const std::string& shortcutPath, const ShortcutDetails& details) = 0;
    // Deletes the shortcut file; one that is not there counts as deleted.
    virtual ShortcutResult remove(const std::string& shortcutPath) = 0;
};

} // namespace tidemark::platform
