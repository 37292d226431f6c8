// Jobsmith's console: text out, whole lines in. UTF-8 at this interface.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace tidemark::jobtool {

class JobConsole {
public:
    virtual ~JobConsole() = default;
    virtual void write(const std::string& text) = 0;
    // One line without its line end; nullopt at the end of input.
    virtual std::optional<std::string> readLine() = 0;
    // The same without echo where the input is a console.
    virtual std::optional<std::string> readSecretLine() = 0;
};

} // namespace tidemark::jobtool
