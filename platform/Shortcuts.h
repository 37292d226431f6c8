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

class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    // The path a shortcut points to; nullopt when it cannot be opened.
    virtual std::optional<std::string> targetPath(const std::string& shortcutPath) = 0;
    virtual bool create(const std::string& shortcutPath, const ShortcutDetails& details) = 0;
};

} // namespace tidemark::platform
