// Starting programs and documents through the shell.
#pragma once
#include "platform/Launcher.h"

namespace tidemark::win32 {

// Documents may open through shell extensions that need COM: a program
// that launches them initialises COM on the calling thread first.
class Win32Launcher final : public platform::Launcher {
public:
    std::intptr_t shellExecute(platform::NativeWindow owner, const std::string& verb,
                               const std::string& file, const std::string& parameters,
                               const std::string& directory, int showCommand) override;
};

} // namespace tidemark::win32
