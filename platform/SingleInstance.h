// Whether another copy of a program runs in the same logon session.
#pragma once
#include <string>

namespace tidemark::platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Registers this process under the name for the rest of its life and
    // tells whether another process of the same session had done so first.
    virtual bool anotherIsRunning(const std::string& name) = 0;
};

} // namespace tidemark::platform
