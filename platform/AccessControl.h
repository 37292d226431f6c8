// File access lists.
#pragma once
#include <string>

namespace tidemark::platform {

class AccessControl {
public:
    virtual ~AccessControl() = default;
    // Adds an entry giving Everyone full control to the file's existing list.
    virtual bool grantEveryoneFullControl(const std::string& path) = 0;
};

} // namespace tidemark::platform
