// Copies of a program in one logon session, or on the whole machine, told
// apart by a named mutex.
#pragma once
#include <string>
#include <vector>
#include "platform/SingleInstance.h"

struct _SECURITY_ATTRIBUTES;

namespace tidemark::win32 {

class Win32SingleInstance final : public platform::SingleInstance {
public:
    ~Win32SingleInstance() override;
    bool anotherIsRunning(const std::string& name) override;
    bool anotherIsRunningOnMachine(const std::string& name) override;

private:
    // True when the mutex existed; otherwise it is kept for the process's life.
    bool registerMutex(const std::wstring& object, _SECURITY_ATTRIBUTES* attributes);
    std::vector<void*> held_;   // mutex handles kept for the process's life
};

} // namespace tidemark::win32
