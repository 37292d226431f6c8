// Shell folders by CSIDL number (26 application data, 7 startup, ...).
#pragma once
#include <optional>
#include <string>

namespace tidemark::platform {

namespace csidl {
inline constexpr int Programs = 2;
inline constexpr int Personal = 5;
inline constexpr int Startup = 7;
inline constexpr int StartMenu = 11;
inline constexpr int CommonStartMenu = 22;
inline constexpr int CommonStartup = 24;
inline constexpr int AppData = 26;
inline constexpr int System = 37;         // the system folder (System32)
inline constexpr int ProgramFiles = 38;
} // namespace csidl

class KnownFolders {
public:
    virtual ~KnownFolders() = default;
    // The folder's path without a trailing backslash; nullopt on failure.
    virtual std::optional<std::string> folderPath(int csidl) = 0;
};

} // namespace tidemark::platform
