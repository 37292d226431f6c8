// Shell shortcuts through the shell's link object.
#pragma once
#include "platform/Shortcuts.h"

namespace tidemark::win32 {

class Win32Shortcuts final : public platform::Shortcuts {
public:
    std::optional<std::string> targetPath(const std::string& shortcutPath) override;
    std::optional<platform::ShortcutDetails> details(const std::string& shortcutPath) override;
    platform::ShortcutResult create(const std::string& shortcutPath, const platform::ShortcutDetails& details) override;
    platform::ShortcutResult remove(const std::string& shortcutPath) override;
};

} // namespace tidemark::win32
