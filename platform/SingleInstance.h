// Whether another copy of a program runs in the same logon session, or
// anywhere on the machine.
#pragma once
#include <string>

namespace tidemark::platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Registers this process under the name for the rest of its life and
    // tells whether another process of the same session had done so first.
    virtual bool anotherIsRunning(const std::string& name) = 0;
    // The same across every session and account of the machine (a program
    // that runs at system start, outside any user's session).
    virtual bool anotherIsRunningOnMachine(const std::string& name) = 0;
};

} // namespace tidemark::platform
