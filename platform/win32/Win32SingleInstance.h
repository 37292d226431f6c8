// Copies of a program in one logon session, told apart by a named mutex.
#pragma once
#include <vector>
#include "platform/SingleInstance.h"

namespace tidemark::win32 {

class Win32SingleInstance final : public platform::SingleInstance {
public:
    ~Win32SingleInstance() override;
    bool anotherIsRunning(const std::string& name) override;

private:
    std::vector<void*> held_;   // mutex handles kept for the process's life
};

} // namespace tidemark::win32
